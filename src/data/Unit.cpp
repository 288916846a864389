#include "data/Unit.h"

#include "data/DataXml.h"
#include "platform/Dialog.h"
#include "platform/Paths.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

CoreVisualHook& InstalledCoreVisualHook() {
    static CoreVisualHook hook;
    return hook;
}

// Attaches up to `points` modules named by the `elementName` children of the unit element. A module whose
// file cannot be read is left off rather than attached as a nameless, empty part.
void AttachModules(const tinyxml2::XMLElement* unitElement, const char* elementName, int16_t points,
                   Component& core) {
    int taken = 0;
    for (const tinyxml2::XMLElement* element = unitElement->FirstChildElement(elementName);
         element != nullptr && taken < points; element = element->NextSiblingElement(elementName)) {
        ++taken;
        auto module = std::make_unique<Component>();
        if (LoadComponent(ElementText(element), *module)) {
            core.children.push_back(std::move(module));
        }
    }
}

void AddTo(int32_t& total, int32_t amount) {
    total = SaturatingAdd(total, amount);
}

void CopyCoreStats(const Component& core, Unit& unit) {
    unit.isWeapon = core.isWeapon;
    unit.hp = core.body;
    unit.fullHp = core.hp;
    unit.moveDist = core.moveDist;
    unit.moveRatio = core.moveRatio;
    unit.defense = core.defense;
    unit.accuracy = core.accuracy;
    unit.headPoints = core.headPoints;
    unit.tailPoints = core.tailPoints;
    unit.weaponPoints = core.weaponPoints;
    unit.mobility = core.mobility;
    unit.damage = core.damage;
    unit.maxRange = core.maxRange;
    unit.minRange = core.minRange;
    unit.AoE = core.AoE;
    unit.timeCost = core.timeCost;
    unit.reload = core.reload;
    unit.shots = core.shots;
    unit.type = core.type;
    unit.coreName = core.name;
    unit.weightClass = core.weightClass;
}

void ClampWeapon(Component& weapon) {
    weapon.timeCost = std::max(weapon.timeCost, 0);
    weapon.AoE = std::clamp(weapon.AoE, 0, kMaxTileReach);
    weapon.damage = std::max(weapon.damage, 1);
    weapon.maxRange = std::clamp(weapon.maxRange, 1, kMaxTileReach);
    weapon.shots = std::clamp(weapon.shots, 1, kMaxShots);
    weapon.minRange = std::max(std::min(weapon.minRange, weapon.maxRange - 1), 0);
}

} // namespace

bool LoadUnit(std::optional<std::string_view> path, Unit& unit) {
    if (path) {
        unit.fileName = std::string(*path);
    }
    tinyxml2::XMLDocument document;
    if (document.LoadFile(NativePath(unit.fileName).c_str()) != tinyxml2::XML_SUCCESS) {
        ShowErrorBox("Could not open file for reading: " + unit.fileName);
        return false;
    }
    const tinyxml2::XMLElement* root = document.FirstChildElement("unit");
    if (root == nullptr) {
        ShowAssertionBox("Missing \"unit\" Tag");
        return false;
    }
    const tinyxml2::XMLElement* name = root->FirstChildElement("name");
    if (name == nullptr) {
        ShowAssertionBox("Missing \"name\" Tag");
        return false;
    }
    unit.name = std::string(ElementText(name));

    const tinyxml2::XMLElement* coreElement = root->FirstChildElement("core");
    if (coreElement == nullptr) {
        return true;
    }
    auto core = std::make_unique<Component>();
    if (!LoadComponent(ElementText(coreElement), *core)) {
        return false; // the unit keeps what it had; a unit without core takes no part in a battle
    }
    unit.weapon = nullptr;
    unit.core = std::move(core);

    int32_t skin = AttributeInt(root, "tex");
    if (skin < 0 || skin >= kSkinCount) {
        skin = 0;
    }
    unit.skin = skin;
    PrepareCoreVisual(*unit.core, skin);
    unit.heightOffset = 0.0f;

    Component& loadedCore = *unit.core;
    if (loadedCore.headPoints > 0) {
        AttachModules(root, "head", loadedCore.headPoints, loadedCore);
    }
    if (loadedCore.tailPoints > 0) {
        AttachModules(root, "tail", loadedCore.tailPoints, loadedCore);
    }
    if (loadedCore.weaponPoints > 0) {
        AttachModules(root, "weapon", loadedCore.weaponPoints, loadedCore);
    }
    RecomputeStats(unit);
    return true;
}

void RecomputeStats(Unit& unit) {
    if (!unit.core) {
        unit.weapon = nullptr;
        return;
    }
    Component& core = *unit.core;
    LoadComponent(std::nullopt, core);
    CopyCoreStats(core, unit);

    unit.weapon = nullptr;
    for (const auto& child : core.children) {
        if (child->isWeapon) {
            unit.weapon = child.get();
            break;
        }
    }
    if (unit.weapon != nullptr) {
        LoadComponent(std::nullopt, *unit.weapon);
    }

    for (const auto& child : core.children) {
        if (unit.weapon != nullptr && child.get() != unit.weapon) {
            Component& weapon = *unit.weapon;
            AddTo(weapon.timeCost, child->timeCost);
            AddTo(weapon.AoE, child->AoE);
            AddTo(weapon.damage, child->damage);
            AddTo(weapon.maxRange, child->maxRange);
            AddTo(weapon.minRange, child->minRange);
            AddTo(weapon.shots, child->shots);
        }
        AddTo(unit.hp, child->body);
        unit.fullHp = unit.hp;
        AddTo(unit.moveDist, child->moveDist);
        AddTo(unit.moveRatio, child->moveRatio);
        AddTo(unit.defense, child->defense);
        AddTo(unit.accuracy, child->accuracy);
    }

    if (unit.weapon != nullptr) {
        ClampWeapon(*unit.weapon);
    }
    unit.moveRatio = std::clamp(unit.moveRatio, 1, 20);
    unit.moveDist = std::min(unit.moveDist, kMaxTileReach);
}

std::unique_ptr<Unit> CloneUnit(const Unit& unit) {
    auto copy = std::make_unique<Unit>();
    copy->tileX = unit.tileX;
    copy->tileY = unit.tileY;
    copy->movementQueue = unit.movementQueue;
    copy->turning = unit.turning;
    copy->moving = unit.moving;
    copy->tickCounter = unit.tickCounter;
    copy->turnTicks = unit.turnTicks;
    copy->turnAngle = unit.turnAngle;
    copy->startOrientation = unit.startOrientation;
    copy->targetOrientation = unit.targetOrientation;
    if (unit.core) {
        copy->core = CloneComponent(*unit.core);
        for (size_t i = 0; i < unit.core->children.size(); ++i) {
            if (unit.core->children[i].get() == unit.weapon) {
                copy->weapon = copy->core->children[i].get();
            }
        }
    }
    copy->isWeapon = unit.isWeapon;
    copy->hp = unit.hp;
    copy->fullHp = unit.fullHp;
    copy->moveDist = unit.moveDist;
    copy->moveRatio = unit.moveRatio;
    copy->defense = unit.defense;
    copy->accuracy = unit.accuracy;
    copy->headPoints = unit.headPoints;
    copy->tailPoints = unit.tailPoints;
    copy->weaponPoints = unit.weaponPoints;
    copy->mobility = unit.mobility;
    copy->damage = unit.damage;
    copy->maxRange = unit.maxRange;
    copy->minRange = unit.minRange;
    copy->AoE = unit.AoE;
    copy->timeCost = unit.timeCost;
    copy->reload = unit.reload;
    copy->shots = unit.shots;
    copy->type = unit.type;
    copy->coreName = unit.coreName;
    copy->weightClass = unit.weightClass;
    copy->heightOffset = unit.heightOffset;
    copy->skin = unit.skin;
    copy->owner = unit.owner;
    copy->name = unit.name;
    copy->fileName = unit.fileName;
    copy->timeUsed = unit.timeUsed;
    copy->distanceUsed = unit.distanceUsed;
    copy->turnDone = unit.turnDone;
    copy->undoRequested = unit.undoRequested;
    copy->orderValue = unit.orderValue;
    return copy;
}

// [SECTION] Drawing set-up

int32_t SkinTextureSlot(int32_t skin) {
    // Where the boot loads each skin picture.
    static constexpr int32_t kSlots[kSkinCount] = {33, 4, 5, 32, 22, 35, 36, 37, 38, 39, 40, 34};
    if (skin < 0 || skin >= kSkinCount) {
        skin = 0;
    }
    return kSlots[skin];
}

CoreVisualHook SetCoreVisualHook(CoreVisualHook hook) {
    return std::exchange(InstalledCoreVisualHook(), std::move(hook));
}

void PrepareCoreVisual(Component& core, int32_t skin) {
    if (InstalledCoreVisualHook()) {
        InstalledCoreVisualHook()(core, skin);
    }
}

// [SECTION] Facing and placement

Vector3 OrientationDirection(int code) {
    static constexpr float kDirections[8][2] = {{1, 0},  {1, 1},   {0, 1},  {-1, 1},
                                                {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
    if (code < 1 || code > 8) {
        return {};
    }
    Vector3 direction{kDirections[code - 1][0], 0.0f, kDirections[code - 1][1]};
    direction.Normalise();
    return direction;
}

Vector3 TileWorldPosition(int32_t x, int32_t y, int32_t elevation, float heightOffset) {
    return {4.0f * float(x), 0.5f * float(elevation) + heightOffset, 4.0f * float(y)};
}

void PlaceOnTile(Unit& unit, int32_t x, int32_t y, int32_t elevation) {
    unit.tileX = x;
    unit.tileY = y;
    if (unit.core) {
        unit.core->transform.position = TileWorldPosition(x, y, elevation, unit.heightOffset);
    }
}

Vector3 UnitWorldPosition(const Unit& unit) {
    if (unit.core) {
        return unit.core->transform.position;
    }
    return TileWorldPosition(unit.tileX, unit.tileY, 0, unit.heightOffset);
}
