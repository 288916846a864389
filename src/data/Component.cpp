#include "data/Component.h"

#include "data/DataXml.h"
#include "platform/Dialog.h"
#include "platform/Paths.h"
#include "render/ModelNode.h"

#include <tinyxml2.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>
#include <utility>

namespace {

int16_t ReadPoints(const tinyxml2::XMLElement* element, const char* name) {
    const int32_t value = AttributeInt(element, name);
    return int16_t(
        std::clamp<int32_t>(value, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

void ReadPointsElement(const tinyxml2::XMLElement* points, Component& component) {
    component.headPoints = ReadPoints(points, "head");
    component.tailPoints = ReadPoints(points, "tail");
    component.weaponPoints = ReadPoints(points, "weapon");
    component.mobility = ReadPoints(points, "mobility");
    if (component.weaponPoints == 1 && component.headPoints == 0 && component.tailPoints == 0) {
        component.isWeapon = true; // never cleared: a reload keeps an earlier mark
    }
}

void ReadStatsElement(const tinyxml2::XMLElement* stats, Component& component) {
    component.weightClass = AttributeInt(stats, "weightClass");
    component.body = AttributeInt(stats, "body");
    component.hp = component.body;
    component.moveDist = AttributeInt(stats, "moveDist");
    component.moveRatio = AttributeInt(stats, "moveRatio");
    component.defense = AttributeInt(stats, "defense");
    component.accuracy = AttributeInt(stats, "accuracy");
}

void ReadWeaponStatsElement(const tinyxml2::XMLElement* weaponStats, Component& component) {
    component.damage = AttributeInt(weaponStats, "damage");
    component.maxRange = AttributeInt(weaponStats, "maxRange");
    component.minRange = AttributeInt(weaponStats, "minRange");
    component.AoE = AttributeInt(weaponStats, "AoE");
    component.timeCost = AttributeInt(weaponStats, "timeCost");
    component.reload = AttributeInt(weaponStats, "reload");
    component.shots = AttributeInt(weaponStats, "shots");
}

int32_t TypeFromText(std::string_view text, int32_t previous) {
    static constexpr std::array<std::string_view, 4> kTypeNames{"CORE", "HEAD", "TAIL", "WEAPON"};
    for (size_t i = 0; i < kTypeNames.size(); ++i) {
        if (text == kTypeNames[i]) {
            return int32_t(i + 1);
        }
    }
    return previous;
}

struct PartRow {
    PartKind kind;
    std::string_view displayName;
};

constexpr std::array<PartRow, kPartCount> kPartTable{{
    {{1, 0}, "Ant Core"},
    {{1, 1}, "Frog Core"},
    {{1, 2}, "Rat Core"},
    {{1, 3}, "Spider Core"},
    {{1, 4}, "Turtle Core"},
    {{1, 5}, "Wolf Core"},
    {{2, 0}, "Ant Head"},
    {{2, 1}, "Assault Head"},
    {{2, 2}, "Frog Head"},
    {{2, 3}, "Rat Head"},
    {{2, 4}, "Sensor Head"},
    {{2, 5}, "Spider Head"},
    {{2, 6}, "Turtle Head"},
    {{2, 7}, "Wolf Head"},
    {{3, 0}, "Blaster"},
    {{3, 1}, "Engine Optimizer"},
    {{3, 2}, "Forcefield"},
    {{3, 3}, "Sensor Tail"},
    {{4, 0}, "Double Cannon AA"},
    {{4, 1}, "Double Cannon AP"},
    {{4, 2}, "Double Cannon DU"},
    {{4, 3}, "Plasma Concentrated"},
    {{4, 4}, "Plasma Overcharged"},
    {{4, 5}, "Plasma Splash"},
    {{4, 6}, "Tri Laser Blue"},
    {{4, 7}, "Tri Laser Green"},
    {{4, 8}, "Tri Laser Red"},
}};

constexpr std::array<int, 4> kCategoryCounts{6, 8, 4, 9};
constexpr std::array<int, 4> kCategoryOffsets{0, 6, 14, 18};

bool EndsWithXml(std::string_view path) {
    if (path.size() < 4) {
        return false;
    }
    std::string tail(path.substr(path.size() - 4));
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return tail == ".xml";
}

// The first of the words the name contains gives its position in the list; otherwise the last index.
int FirstContained(std::string_view name, std::initializer_list<std::string_view> words) {
    int index = 0;
    for (std::string_view word : words) {
        if (name.find(word) != std::string_view::npos) {
            return index;
        }
        ++index;
    }
    return index;
}

} // namespace

bool LoadComponent(std::optional<std::string_view> path, Component& component) {
    if (path) {
        component.fileName = std::string(*path);
    }
    tinyxml2::XMLDocument document;
    if (document.LoadFile(NativePath(component.fileName).c_str()) != tinyxml2::XML_SUCCESS) {
        ShowErrorBox("Could not open file for reading: " + component.fileName);
        return false;
    }
    const tinyxml2::XMLElement* root = document.FirstChildElement("component");
    if (root == nullptr) {
        ShowAssertionBox("Missing \"component\" Tag");
        return false;
    }
    component.modelSlot = AttributeInt(root, "model");

    const tinyxml2::XMLElement* name = root->FirstChildElement("name");
    if (name == nullptr) {
        ShowAssertionBox("Missing \"name\" Tag");
        return false;
    }
    component.name = std::string(ElementText(name));

    const tinyxml2::XMLElement* type = name->NextSiblingElement("type");
    if (type == nullptr) {
        ShowAssertionBox("Missing \"type\" Tag");
        return false;
    }
    component.type = TypeFromText(ElementText(type), component.type);

    if (const tinyxml2::XMLElement* points = type->NextSiblingElement("points")) {
        ReadPointsElement(points, component);
    }
    if (const tinyxml2::XMLElement* stats = type->NextSiblingElement("stats")) {
        ReadStatsElement(stats, component);
    }
    if (const tinyxml2::XMLElement* weaponStats = type->NextSiblingElement("weaponStats")) {
        ReadWeaponStatsElement(weaponStats, component);
    }
    if (const tinyxml2::XMLElement* model = type->NextSiblingElement("model")) {
        component.modelIndex = AttributeInt(model, "index");
    }
    return true;
}

namespace {

PickColourReleaser& InstalledPickColourReleaser() {
    static PickColourReleaser releaser;
    return releaser;
}

} // namespace

Component::~Component() {
    ReleaseDisplayList(displayList);
    ReleasePickColourOf(pickColour);
}

PickColourReleaser SetPickColourReleaser(PickColourReleaser releaser) {
    return std::exchange(InstalledPickColourReleaser(), std::move(releaser));
}

void ReleasePickColourOf(uint32_t colour) {
    if (colour != 0 && InstalledPickColourReleaser()) {
        InstalledPickColourReleaser()(colour);
    }
}

std::unique_ptr<Component> CloneComponent(const Component& component) {
    auto copy = std::make_unique<Component>();
    copy->model = component.model;
    copy->modelSlot = component.modelSlot;
    copy->transform = component.transform;
    copy->animationFrame = component.animationFrame;
    copy->animationKey = component.animationKey;
    copy->isWeapon = component.isWeapon;
    copy->body = component.body;
    copy->hp = component.hp;
    copy->moveDist = component.moveDist;
    copy->moveRatio = component.moveRatio;
    copy->defense = component.defense;
    copy->accuracy = component.accuracy;
    copy->headPoints = component.headPoints;
    copy->tailPoints = component.tailPoints;
    copy->weaponPoints = component.weaponPoints;
    copy->mobility = component.mobility;
    copy->damage = component.damage;
    copy->maxRange = component.maxRange;
    copy->minRange = component.minRange;
    copy->AoE = component.AoE;
    copy->timeCost = component.timeCost;
    copy->reload = component.reload;
    copy->shots = component.shots;
    copy->type = component.type;
    copy->name = component.name;
    copy->weightClass = component.weightClass;
    copy->modelIndex = component.modelIndex;
    copy->fileName = component.fileName;
    copy->children.reserve(component.children.size());
    for (const auto& child : component.children) {
        copy->children.push_back(CloneComponent(*child));
    }
    return copy;
}

// [SECTION] Part table

int PartCountOf(int category) {
    return category >= 1 && category <= 4 ? kCategoryCounts[size_t(category - 1)] : 0;
}

int PartOffsetOf(int category) {
    return category >= 1 && category <= 4 ? kCategoryOffsets[size_t(category - 1)] : -1;
}

int PartNumber(int category, int index) {
    if (index < 0 || index >= PartCountOf(category)) {
        return -1;
    }
    return PartOffsetOf(category) + index;
}

PartKind PartKindOf(int partNumber) {
    if (partNumber < 0 || partNumber >= kPartCount) {
        return {};
    }
    return kPartTable[size_t(partNumber)].kind;
}

std::string_view PartDisplayName(int partNumber) {
    if (partNumber < 0 || partNumber >= kPartCount) {
        return {};
    }
    return kPartTable[size_t(partNumber)].displayName;
}

void ListModuleFiles(std::vector<std::string>& files) {
    std::vector<std::string> found;
    for (const char* folder : {"XMLFiles\\Mecha\\Modules\\Cores", "XMLFiles\\Mecha\\Modules\\Heads",
                               "XMLFiles\\Mecha\\Modules\\Tails", "XMLFiles\\Mecha\\Modules\\Weapons"}) {
        ListFiles(folder, found);
    }
    std::erase_if(found, [](const std::string& path) { return !EndsWithXml(path); });
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
}

std::string PartFile(const std::vector<std::string>& moduleFiles, int partNumber) {
    if (partNumber < 0 || size_t(partNumber) >= moduleFiles.size()) {
        return {};
    }
    return moduleFiles[size_t(partNumber)];
}

// [SECTION] Naming rules of module names

std::string_view NamePrefix(std::string_view name) {
    return name.substr(0, name.find('_'));
}

int PartIndexFromName(int category, std::string_view name) {
    switch (category) {
    case HEAD:
        return FirstContained(name, {"Ant", "Assault", "Frog", "Rat", "Sensor", "Spider", "Turtle"});
    case TAIL:
        return FirstContained(name, {"Blaster", "Engine", "FFGenerator"});
    case WEAPON:
        return FirstContained(name,
                              {"AA", "AP", "DU", "Concentrated", "Overcharged", "Splash", "Blue", "Green"});
    case CORE:
        return FirstContained(name, {"Ant", "Frog", "Rat", "Spider", "Turtle"});
    default:
        return -1;
    }
}

std::string_view CategoryWord(int category) {
    switch (category) {
    case HEAD:
        return "Head";
    case TAIL:
        return "Tail";
    case WEAPON:
        return "Weapon";
    default:
        return {};
    }
}
