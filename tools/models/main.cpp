// Writes every model the catalogue names into the run folder:
//   vantor_models <catalogue Models.xml> <run folder> <stamp file>

#include "Models.h"
#include "platform/Paths.h"

#include <tinyxml2.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

bool WriteModel(const ModelRecipe& recipe, const std::filesystem::path& runDir, const std::string& gamePath) {
    const std::filesystem::path target = runDir / NativePath(gamePath);
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    if (error) {
        std::fprintf(stderr, "Could not create folder %s: %s\n", target.parent_path().c_str(),
                     error.message().c_str());
        return false;
    }
    return WriteAse(target.string(), recipe.build(), ModelLastFrame());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <Models.xml> <run folder> <stamp file>\n", argv[0]);
        return 2;
    }
    tinyxml2::XMLDocument doc;
    if (doc.LoadFile(argv[1]) != tinyxml2::XML_SUCCESS) {
        std::fprintf(stderr, "Could not open file for reading: %s\n", argv[1]);
        return 1;
    }
    const tinyxml2::XMLElement* models = doc.FirstChildElement("models");
    if (models == nullptr) {
        std::fprintf(stderr, "Missing \"models\" Tag in %s\n", argv[1]);
        return 1;
    }
    const std::filesystem::path runDir = argv[2];
    int failures = 0;
    int written = 0;
    for (const ModelRecipe& recipe : ModelRecipes()) {
        const tinyxml2::XMLElement* slot = models->FirstChildElement(recipe.slotName.c_str());
        const char* gamePath = slot != nullptr ? slot->GetText() : nullptr;
        if (gamePath == nullptr || *gamePath == '\0') {
            std::fprintf(stderr, "%s names no file for %s\n", argv[1], recipe.slotName.c_str());
            ++failures;
            continue;
        }
        if (WriteModel(recipe, runDir, gamePath)) {
            ++written;
        } else {
            ++failures;
        }
    }
    std::printf("Models: %d written, %d failed\n", written, failures);
    if (failures == 0) {
        std::ofstream(argv[3]) << written << " models\n";
    }
    return failures == 0 ? 0 : 1;
}
