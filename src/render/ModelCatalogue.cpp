#include "render/ModelCatalogue.h"

#include "platform/Dialog.h"
#include "platform/Paths.h"
#include "render/ModelSlots.h"

#include <tinyxml2.h>

bool ReadModelCatalogue(const std::string& cataloguePath, std::vector<std::string>& files) {
    files.clear();
    tinyxml2::XMLDocument document;
    if (document.LoadFile(NativePath(cataloguePath).c_str()) != tinyxml2::XML_SUCCESS) {
        ShowErrorBox("Could not open file for reading: " + cataloguePath);
        return false;
    }
    const tinyxml2::XMLElement* catalogue = document.FirstChildElement("models");
    if (catalogue == nullptr) {
        ShowAssertionBox("Missing \"models\" Tag");
        return false;
    }
    files.resize(modelSlotNames.size());
    for (size_t slot = 0; slot < modelSlotNames.size(); ++slot) {
        const std::string name(modelSlotNames[slot]);
        const tinyxml2::XMLElement* entry = catalogue->FirstChildElement(name.c_str());
        const char* path = entry != nullptr ? entry->GetText() : nullptr;
        if (path != nullptr) {
            files[slot] = path;
        }
    }
    return true;
}
