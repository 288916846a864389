#pragma once

#include "data/Army.h"
#include "data/Component.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The rules of the build screen without a window: which inventory rows a page lists, which squad slot is
// being built, equipping parts from the inventory and taking modules off, and the text the screen shows.
// The screen's buttons reach it as the values 0 to 19 of their HUD messages.

// Inventory rows on one page of the part list.
constexpr int kInventoryRows = 9;
// Pages of the part list (27 part kinds, 9 a page).
constexpr int kInventoryPages = 3;

// Button values of the build screen.
namespace BuildValue {
constexpr int32_t FirstRow = 0; // 0 to 8: equip the part of that row
constexpr int32_t PreviousPage = 9;
constexpr int32_t NextPage = 10;
constexpr int32_t FirstSlot = 11; // 11 to 16: select squad slot value - 11
constexpr int32_t TakeOffHead = 17;
constexpr int32_t TakeOffTail = 18;
constexpr int32_t TakeOffWeapon = 19;
} // namespace BuildValue

// One text the build screen prints, at its raster position in layout pixels.
struct ScreenText {
    int32_t x = 0;
    int32_t y = 0;
    std::string text;
};

// One row of the part list: the part number, its display name and how many the inventory holds.
struct InventoryRow {
    int partNumber = 0;
    std::string name;
    int32_t count = 0;
};

class SquadBuilder {
public:
    // Acts on one button value (see BuildValue); values outside 0 to 19 are ignored.
    void HandleValue(int32_t value, Army& army, const std::vector<std::string>& moduleFiles);

    // Makes squad slot s (0 to 5) the one being built; other values change nothing.
    void SelectSlot(int32_t slot);
    // Shows the previous page, if there is one.
    void PreviousPage();
    // Shows the next page, if there is one.
    void NextPage();

    // Equips a part kind from the inventory onto the current unit; false when nothing changed (none left,
    // no core to attach to, or its file could not be read).
    bool Equip(PartKind part, Army& army, const std::vector<std::string>& moduleFiles);
    // Takes the first head, tail or weapon (category 2, 3, 4) off the current unit's core and puts its kind
    // back into the inventory; false when the unit has no such module.
    bool TakeOff(int32_t category, Army& army);

    // The unit in the current slot, or null when the squad has no such slot.
    Unit* currentUnit(Army& army) const;
    // The unit in the current slot, or null when the squad has no such slot.
    const Unit* currentUnit(const Army& army) const;

    // The nine rows of the current page.
    std::vector<InventoryRow> Rows(const Inventory& inventory) const;
    // Every text the screen prints this frame: page, part list, the unit's stats and its module names.
    std::vector<ScreenText> Texts(const Army& army) const;

    // The part kind last taken from the inventory for a place (category 1 to 4) of a slot; (-1, -1) for none.
    PartKind equipped(int32_t category, int32_t slot) const;

    // Sets the record of a place (category 1 to 4) of a slot, as a saved campaign had it.
    void SetEquipped(int32_t category, int32_t slot, PartKind part);
    // Forgets every record and shows slot 0 and page 0, as for a new campaign.
    void Reset();

    int32_t currentSlot() const { return currentSlot_; }
    int32_t page() const { return page_; }

private:
    PartKind& record(int32_t category);
    bool equipCore(int32_t index, Unit& unit, Army& army, const std::vector<std::string>& moduleFiles);
    bool equipModule(PartKind part, Unit& unit, Army& army, const std::vector<std::string>& moduleFiles);

    int32_t currentSlot_ = 0;
    int32_t page_ = 0;
    // Per category (core, head, tail, weapon) and squad slot.
    std::array<std::array<PartKind, kSquadSize>, 4> equipped_{};
};

// The stat lines of a unit with a core (none without): its own stats and, with a weapon, the weapon's.
std::vector<ScreenText> UnitStatTexts(const Unit& unit);
// The module names of a unit with a core (none without): the core, then each attached module.
std::vector<ScreenText> UnitModuleTexts(const Unit& unit);

// The squad screen's caption of each bay: the mech's core and hit points, or "Empty" for a slot without a
// core, placed at the foot of the bay's picture (three bays a row, two rows).
std::vector<ScreenText> SquadBayTexts(const Army& army);
