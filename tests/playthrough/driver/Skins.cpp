#include "driver/Skins.h"

#include "data/Unit.h"
#include "platform/Paths.h"

#include <tinyxml2.h>

#include <cstdio>
#include <map>

namespace {

const char* const skinPictures[kSkinCount] = {
    "Art Assets\\Textures\\ArmyPlayer.png", "Art Assets\\Textures\\Army1.png",
    "Art Assets\\Textures\\Army2.png",      "Art Assets\\Textures\\Army3.png",
    "Art Assets\\Textures\\Building10.png", "Art Assets\\Textures\\Custom1.png",
    "Art Assets\\Textures\\Custom2.png",    "Art Assets\\Textures\\Custom3.png",
    "Art Assets\\Textures\\Custom4.png",    "Art Assets\\Textures\\Custom5.png",
    "Art Assets\\Textures\\Custom6.png",    "Art Assets\\Textures\\Ace.png",
};

// Pictures a model might wrongly be drawn with: the first texture slots hold screens, not skins.
const char* const screenPictures[] = {
    "Art Assets\\Screens\\LogoScreen.png",
    "Art Assets\\Screens\\TitleScreen.png",
    "Art Assets\\Textures\\bg.png",
};

const std::vector<ColourGroup>& GroupsOf(const std::string& gamePath) {
    static std::map<std::string, std::vector<ColourGroup>> cache;
    auto found = cache.find(gamePath);
    if (found == cache.end()) {
        const std::optional<Picture> picture = LoadGamePicture(gamePath);
        found = cache.emplace(gamePath, picture ? ColourGroups(*picture) : std::vector<ColourGroup>{}).first;
    }
    return found->second;
}

} // namespace

const char* SkinPicture(int32_t tex) {
    return tex >= 0 && tex < kSkinCount ? skinPictures[tex] : skinPictures[0];
}

int32_t ExpectedSkin(const Unit& unit) {
    if (unit.fileName.empty()) {
        return 0;
    }
    tinyxml2::XMLDocument document;
    if (document.LoadFile(NativePath(unit.fileName).c_str()) != tinyxml2::XML_SUCCESS) {
        return -1;
    }
    const tinyxml2::XMLElement* root = document.FirstChildElement("unit");
    return root != nullptr ? root->IntAttribute("tex", 0) : -1;
}

bool SkinVerdict::Wears() const {
    return match.judged >= 40 && match.likeness >= 0.45 && match.likeness >= closestOtherLikeness + 0.15;
}

std::string SkinVerdict::Describe() const {
    char text[512];
    std::snprintf(
        text, sizeof(text),
        "%d pixels judged, %d (%.0f%%) in the colours of %s with a likeness of %.2f; the closest other "
        "picture, %s, has %.2f",
        match.judged, match.matched, 100.0 * match.share(), expected.c_str(), match.likeness,
        closestOther.c_str(), closestOtherLikeness);
    return text;
}

SkinVerdict JudgeSkin(const Picture& shown, const std::vector<PixelPoint>& pixels, int32_t skin) {
    SkinVerdict verdict;
    verdict.expected = SkinPicture(skin);
    verdict.match = MatchColours(shown, pixels, GroupsOf(verdict.expected));
    std::vector<std::string> others(std::begin(screenPictures), std::end(screenPictures));
    for (const char* picture : skinPictures) {
        others.push_back(picture);
    }
    for (const std::string& other : others) {
        if (other == verdict.expected) {
            continue;
        }
        const double likeness = MatchColours(shown, pixels, GroupsOf(other)).likeness;
        if (likeness > verdict.closestOtherLikeness || verdict.closestOther.empty()) {
            verdict.closestOther = other;
            verdict.closestOtherLikeness = likeness;
        }
    }
    return verdict;
}
