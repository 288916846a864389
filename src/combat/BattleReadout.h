#pragma once

#include "data/Unit.h"
#include "render/Maths.h"

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// The numbers that let a player read a battle: what a previewed route costs, what a shot can do, the hits
// and losses as they happen, and the summary at the end. Everything here is plain arithmetic on the battle's
// rules; the window layer draws the texts.

struct MissionData;

// Time budget of one activation.
constexpr int32_t kActivationTime = 100;

// [SECTION] Route cost

// The route previewed to the tile under the cursor: its time cost and the time the unit has left after it.
struct RouteReadout {
    bool shown = false;
    int32_t cost = 0;
    int32_t left = 0;
    std::string text; // "12 TU / 78 left"
};

// The read-out of a route of that cost for a unit that has used timeUsed of its activation.
RouteReadout ReadRoute(int32_t cost, int32_t timeUsed);

// [SECTION] Shots

// The lowest and highest hit points one shot takes by the damage rule (both 0 when it can do no harm).
struct DamageRange {
    int32_t lowest = 0;
    int32_t highest = 0;
};

// The range of (rand mod D) + trunc(D / 4) with D = damage + trunc(damage * (accuracy - defense) / 100).
DamageRange ShotDamageRange(int32_t damage, int32_t accuracy, int32_t defense);

// The shots the attacker may still fire this activation: limited by its weapon's shots left and by its time
// (each shot needs timeUsed < 100 and timeUsed + timeCost <= 100). 0 without a weapon or once it is done.
int32_t ShotsThatFit(const Unit& attacker, int32_t shotsThisTurn);

// Whether hit points would be gone after some damage in a range.
enum class Outcome : int32_t { Survives = 0, MayBeDestroyed = 1, Destroyed = 2 };

// Outcome of a total damage between lowest and highest against hp.
Outcome OutcomeOf(int64_t lowest, int64_t highest, int32_t hp);

// What firing at a marked enemy would do.
struct ShotReadout {
    bool shown = false;
    DamageRange damage;       // of one shot
    int32_t shots = 0;        // shots that fit in the time left
    Outcome oneShot = Outcome::Survives;
    Outcome allShots = Outcome::Survives; // if every shot that fits is fired
    std::vector<std::string> lines;       // "Damage 6-29", "2 shots fit in 45 TU", "One shot may destroy it"
};

// The read-out of the attacker's next shots at the target.
ShotReadout ReadShot(const Unit& attacker, const Unit& target, int32_t shotsThisTurn);

// [SECTION] What happened

// The name the player knows a unit by: its file's name, or for a mech built without one "Your " and its
// core's animal.
std::string UnitDisplayName(const Unit& unit);

// A damage number rising over a hit unit.
struct FloatingNumber {
    Vector3 at;          // world position of the hit unit
    int32_t value = 0;   // hit points taken
    int64_t start = 0;   // battle frame of the hit
};

// What each side lost and dealt in a battle.
struct SideTotals {
    int32_t unitsLost = 0;
    int64_t damageDealt = 0;
    int64_t damageTaken = 0;
};

// The running account of a battle: rising numbers, the message log, the totals of both sides.
class BattleRecord {
public:
    // Lines the message log keeps; older ones scroll away.
    static constexpr size_t kLogLines = 5;
    // How long a damage number rises, in battle frames (a second at the game's 60 frames a second).
    static constexpr int64_t kRiseFrames = 60;

    // Forgets everything of the last battle.
    void Reset();
    // A shot of the attacker took damage hit points from the target (at its world position).
    void Hit(const Unit& attacker, const Unit& target, int32_t damage);
    // The target was destroyed: a log line "<name> destroyed" and one unit lost to its side.
    void Destroyed(const Unit& target);
    // One battle frame passes: the numbers rise, and those that have risen for kRiseFrames go.
    void Tick();
    // How far a number has risen: 0 at the hit, 1 when done.
    double RiseOf(const FloatingNumber& number) const;
    // Battle frames counted since the record was reset.
    int64_t frame() const { return frame_; }

    const std::vector<FloatingNumber>& numbers() const { return numbers_; }
    const std::deque<std::string>& log() const { return log_; }
    // Totals of player 1 (index 0) and player 2 (index 1).
    const SideTotals& side(int player) const { return sides_[player == 2 ? 1 : 0]; }

    // The standings when the battle began; set by the campaign's battle, unset in a bare one.
    bool hasStandings = false;
    std::array<int32_t, 3> standingsBefore{0, 0, 0};

private:
    std::vector<FloatingNumber> numbers_;
    std::deque<std::string> log_;
    std::array<SideTotals, 2> sides_{};
    int64_t frame_ = 0;
};

// [SECTION] Summary page

// How a faction's standing moves when the battle is left: down by its stake after a win, up by half of it
// (toward zero) otherwise.
int32_t StakeChange(int32_t stake, bool player1Won);
// The standings after leaving with that result, each held in 0 to 100.
std::array<int32_t, 3> StandingsAfter(const std::array<int32_t, 3>& before, const MissionData& mission,
                                      bool player1Won);

// The lines of the summary page, top to bottom.
std::vector<std::string> SummaryLines(const BattleRecord& record, const MissionData& mission, bool player1Won);
