#include "screens/SquadBuilder.h"

#include "data/Unit.h"
#include "platform/Dialog.h"

#include <algorithm>
#include <memory>

namespace {

// The skin the player's mechs are compiled with.
constexpr int32_t kPlayerSkin = 0;

// Reads a module file into a fresh component; null (after the loader's box) when it cannot be read.
std::unique_ptr<Component> LoadModule(const std::vector<std::string>& moduleFiles, int partNumber) {
    const std::string file = PartFile(moduleFiles, partNumber);
    if (file.empty()) {
        ShowErrorBox("No module file for part " + std::to_string(partNumber) + " (" +
                     std::string(PartDisplayName(partNumber)) + ")");
        return nullptr;
    }
    auto module = std::make_unique<Component>();
    if (!LoadComponent(file, *module)) {
        return nullptr;
    }
    return module;
}

// Points of a module for a place: head, tail or weapon points.
int16_t PointsFor(const Component& module, int32_t category) {
    switch (category) {
    case HEAD:
        return module.headPoints;
    case TAIL:
        return module.tailPoints;
    case WEAPON:
        return module.weaponPoints;
    default:
        return 0;
    }
}

std::string Number(int32_t value) {
    return std::to_string(value);
}

} // namespace

// [SECTION] Button values

void SquadBuilder::HandleValue(int32_t value, Army& army, const std::vector<std::string>& moduleFiles) {
    if (value < BuildValue::FirstRow || value > BuildValue::TakeOffWeapon) {
        return;
    }
    if (value < BuildValue::PreviousPage) {
        Equip(PartKindOf(value + kInventoryRows * page_), army, moduleFiles);
    } else if (value == BuildValue::PreviousPage) {
        PreviousPage();
    } else if (value == BuildValue::NextPage) {
        NextPage();
    } else if (value < BuildValue::TakeOffHead) {
        SelectSlot(value - BuildValue::FirstSlot);
    } else {
        TakeOff(HEAD + (value - BuildValue::TakeOffHead), army);
    }
}

void SquadBuilder::SelectSlot(int32_t slot) {
    if (slot >= 0 && slot < kSquadSize) {
        currentSlot_ = slot;
    }
}

void SquadBuilder::PreviousPage() {
    if (page_ > 0) {
        --page_;
    }
}

void SquadBuilder::NextPage() {
    if (page_ < kInventoryPages - 1) {
        ++page_;
    }
}

Unit* SquadBuilder::currentUnit(Army& army) const {
    if (currentSlot_ < 0 || size_t(currentSlot_) >= army.squad.size()) {
        return nullptr;
    }
    return army.squad[size_t(currentSlot_)].get();
}

const Unit* SquadBuilder::currentUnit(const Army& army) const {
    if (currentSlot_ < 0 || size_t(currentSlot_) >= army.squad.size()) {
        return nullptr;
    }
    return army.squad[size_t(currentSlot_)].get();
}

PartKind SquadBuilder::equipped(int32_t category, int32_t slot) const {
    if (category < CORE || category > WEAPON || slot < 0 || slot >= kSquadSize) {
        return {};
    }
    return equipped_[size_t(category - CORE)][size_t(slot)];
}

void SquadBuilder::SetEquipped(int32_t category, int32_t slot, PartKind part) {
    if (category >= CORE && category <= WEAPON && slot >= 0 && slot < kSquadSize) {
        equipped_[size_t(category - CORE)][size_t(slot)] = part;
    }
}

void SquadBuilder::Reset() {
    *this = SquadBuilder{};
}

PartKind& SquadBuilder::record(int32_t category) {
    return equipped_[size_t(category - CORE)][size_t(currentSlot_)];
}

// [SECTION] Equipping and taking off

bool SquadBuilder::Equip(PartKind part, Army& army, const std::vector<std::string>& moduleFiles) {
    if (part.category < CORE || part.category > WEAPON || PartNumber(part.category, part.index) < 0) {
        return false;
    }
    Unit* unit = currentUnit(army);
    if (unit == nullptr || army.inventory.CountOf(part.category, part.index) <= 0) {
        return false;
    }
    if (part.category == CORE) {
        return equipCore(part.index, *unit, army, moduleFiles);
    }
    return equipModule(part, *unit, army, moduleFiles);
}

bool SquadBuilder::equipCore(int32_t index, Unit& unit, Army& army,
                             const std::vector<std::string>& moduleFiles) {
    // Read the file before anything moves, so an unreadable file leaves mech and inventory as they were.
    const int partNumber = PartNumber(CORE, index);
    if (LoadModule(moduleFiles, partNumber) == nullptr) {
        return false;
    }
    if (!unit.core) {
        unit.core = std::make_unique<Component>();
    }
    // The core being replaced goes back; none goes back for a unit that had no core.
    if (!unit.core->name.empty()) {
        army.inventory.AddPart(CORE, PartIndexFromName(CORE, unit.core->name));
    }
    army.inventory.RemovePart(CORE, index);
    // Loaded into the existing core so the attached modules stay on.
    LoadComponent(PartFile(moduleFiles, partNumber), *unit.core);
    unit.skin = kPlayerSkin;
    PrepareCoreVisual(*unit.core, kPlayerSkin);
    RecomputeStats(unit);
    record(CORE) = {CORE, index};
    return true;
}

bool SquadBuilder::equipModule(PartKind part, Unit& unit, Army& army,
                               const std::vector<std::string>& moduleFiles) {
    if (!unit.core) {
        return false;
    }
    std::unique_ptr<Component> module = LoadModule(moduleFiles, PartNumber(part.category, part.index));
    if (module == nullptr) {
        return false;
    }
    // The first module named for this place is replaced where it sits, and its kind (read from its name,
    // so it always matches what the mech carried) goes back to the inventory. A fresh component takes its
    // place so nothing of the old module's file lingers in the new one.
    const std::string_view word = CategoryWord(part.category);
    auto& children = unit.core->children;
    auto replaced = std::find_if(children.begin(), children.end(), [word](const auto& child) {
        return child->name.find(word) != std::string::npos;
    });
    if (replaced != children.end()) {
        army.inventory.AddPart(part.category, PartIndexFromName(part.category, (*replaced)->name));
    }
    army.inventory.RemovePart(part.category, part.index);
    if (replaced != children.end()) {
        *replaced = std::move(module);
    } else {
        children.push_back(std::move(module));
    }
    record(part.category) = part;
    RecomputeStats(unit);
    return true;
}

bool SquadBuilder::TakeOff(int32_t category, Army& army) {
    if (category < HEAD || category > WEAPON) {
        return false;
    }
    Unit* unit = currentUnit(army);
    if (unit == nullptr || !unit->core) {
        return false;
    }
    auto& children = unit->core->children;
    for (auto child = children.begin(); child != children.end(); ++child) {
        if (PointsFor(**child, category) == 0) {
            continue;
        }
        const std::string name = (*child)->name;
        unit->weapon = nullptr; // may point at the module about to go
        children.erase(child);
        army.inventory.AddPart(category, PartIndexFromName(category, name));
        record(category) = {};
        RecomputeStats(*unit);
        return true;
    }
    return false;
}

// [SECTION] Text of the screen

std::vector<InventoryRow> SquadBuilder::Rows(const Inventory& inventory) const {
    std::vector<InventoryRow> rows;
    for (int row = 0; row < kInventoryRows; ++row) {
        const int partNumber = row + kInventoryRows * page_;
        const PartKind part = PartKindOf(partNumber);
        int32_t count = 0;
        if (inventory.categories().count(part.category) != 0) {
            count = inventory.CountOf(part.category, part.index);
        }
        rows.push_back({partNumber, std::string(PartDisplayName(partNumber)), count});
    }
    return rows;
}

std::vector<ScreenText> SquadBuilder::Texts(const Army& army) const {
    std::vector<ScreenText> texts;
    texts.push_back({205, 395, "Page " + Number(page_ + 1) + "/" + Number(kInventoryPages)});
    const std::vector<InventoryRow> rows = Rows(army.inventory);
    for (size_t r = 0; r < rows.size(); ++r) {
        const int32_t y = 130 + 50 * int32_t(r);
        texts.push_back({25, y, rows[r].name});
        texts.push_back({175, y, Number(rows[r].count)});
    }
    if (const Unit* unit = currentUnit(army)) {
        for (ScreenText& text : UnitStatTexts(*unit)) {
            texts.push_back(std::move(text));
        }
        for (ScreenText& text : UnitModuleTexts(*unit)) {
            texts.push_back(std::move(text));
        }
    }
    return texts;
}

std::vector<ScreenText> UnitStatTexts(const Unit& unit) {
    if (!unit.core) {
        return {};
    }
    std::vector<ScreenText> texts = {
        {250, 315, "HP: " + Number(unit.hp) + "/" + Number(unit.fullHp)},
        {250, 330, "Defense: " + Number(unit.defense)},
        {250, 345, "Distance: " + Number(unit.moveDist)},
        {250, 360, "Ratio: " + Number(unit.moveRatio)},
        {250, 375, "Accuracy: " + Number(unit.accuracy)},
    };
    if (const Component* weapon = unit.weapon) {
        texts.push_back({400, 315, "Damage: " + Number(weapon->damage)});
        texts.push_back({400, 330, "Max Range: " + Number(weapon->maxRange)});
        texts.push_back({400, 345, "Min Range: " + Number(weapon->minRange)});
        texts.push_back({400, 360, "AoE: " + Number(weapon->AoE)});
        texts.push_back({400, 375, "Shots: " + Number(weapon->shots)});
        texts.push_back({400, 390, "Time: " + Number(weapon->timeCost)});
    }
    return texts;
}

std::vector<ScreenText> UnitModuleTexts(const Unit& unit) {
    if (!unit.core) {
        return {};
    }
    std::vector<ScreenText> texts;
    texts.push_back({610, 105, std::string(NamePrefix(unit.core->name)) + " Core"});
    for (const auto& child : unit.core->children) {
        const std::string prefix(NamePrefix(child->name));
        if (child->headPoints != 0) {
            texts.push_back({610, 205, prefix + " Head"});
        } else if (child->tailPoints != 0) {
            texts.push_back({610, 305, prefix + " Tail"});
        } else {
            texts.push_back({610, 405, prefix});
        }
    }
    return texts;
}

std::vector<ScreenText> SquadBayTexts(const Army& army) {
    std::vector<ScreenText> texts;
    for (size_t slot = 0; slot < army.squad.size() && slot < size_t(kSquadSize); ++slot) {
        const Unit& unit = *army.squad[slot];
        const int32_t x = 62 + 245 * int32_t(slot % 3);
        const int32_t y = 292 + 190 * int32_t(slot / 3);
        if (!unit.core) {
            texts.push_back({x, y, "Empty"});
            continue;
        }
        std::string text = std::string(NamePrefix(unit.core->name)) + " Core  HP " + Number(unit.fullHp);
        if (unit.weapon == nullptr) {
            text += "  no weapon";
        }
        texts.push_back({x, y, text});
    }
    return texts;
}
