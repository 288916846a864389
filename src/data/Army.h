#pragma once

#include "data/Unit.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The player's army (a squad of six mechs and an inventory of spare parts) and the campaign around it.

// Number of unit slots in a squad.
constexpr int kSquadSize = 6;

// Largest count of one part kind in the inventory.
constexpr uint32_t kMaxPartCount = 99;

// One part kind held in the inventory.
struct InventoryEntry {
    int32_t index = 0;
    uint32_t count = 0;
};

// Spare parts by category (ComponentType 1 to 4); the set of part kinds is fixed once filled.
class Inventory {
public:
    // Every part kind of the part table with the given count, in index order.
    static Inventory Default(uint32_t count = 2);

    // Adds a category's entry (used to build an inventory); the count is cut to 99.
    void AddEntry(int32_t category, int32_t index, uint32_t count);

    // True when the part kind is held; its count then grows by one unless it is 99.
    bool AddPart(int32_t category, int32_t index);

    // True when the part kind is held; its count then drops by one unless it is 0.
    bool RemovePart(int32_t category, int32_t index);

    // The count of the part kind, -1 when its category has no such index; an unknown category also shows
    // the assertion box "Part doesn't exist in the inventory." and gives -1.
    int32_t CountOf(int32_t category, int32_t index) const;

    // Sets the count of a part kind that is held (cut to 99); false when it is not held.
    bool SetCount(int32_t category, int32_t index, uint32_t count);

    // The categories and their entries, in order.
    const std::map<int32_t, std::vector<InventoryEntry>>& categories() const { return categories_; }

private:
    InventoryEntry* find(int32_t category, int32_t index);
    std::map<int32_t, std::vector<InventoryEntry>> categories_;
};

// The squad of six unit slots and the inventory.
struct Army {
    // Six empty slots (units without core named "MECH_NAME") and the default inventory.
    Army();

    std::vector<std::unique_ptr<Unit>> squad;
    Inventory inventory;
};

// Number of faction standings shown on the world map.
constexpr int kFactionCount = 3;

// The campaign: the player with the army, and the faction standings.
class Campaign {
public:
    // The player "Vantor Gold" with a new army, and every standing at 50.
    Campaign();

    // The player; its army is the campaign's.
    UnitOwner player;
    // Standings 0 to 100 of the three factions.
    std::array<int32_t, kFactionCount> standings{50, 50, 50};

    // The player's army.
    Army& army() { return *army_; }
    // The player's army.
    const Army& army() const { return *army_; }

    // File names (without folder) of the missions won, in the order first won.
    std::vector<std::string> wonMissions;

    // Records a won mission by its file (folder and all); a mission is recorded once.
    void MarkWon(const std::string& missionFile);
    // Whether the mission of that file (folder and all) was won.
    bool Won(const std::string& missionFile) const;

    // Replaces the army (and every unit in it) with a new one.
    void RecreateArmy();

    // Adds a signed amount to standing k and holds it inside 0 to 100; other k change nothing.
    void ChangeStanding(int k, int32_t amount);

private:
    std::unique_ptr<Army> army_;
};
