#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// How the computer plays a side. Classic is the game's original greedy rule; Veteran closes in on far
// targets, picks its shots and keeps out of the enemy's reach when it cannot fire.
enum class OpponentRule { Classic, Veteran };

// The pause between two actions of the computer at the normal pace.
constexpr int64_t DefaultAiActionMilliseconds = 1000;
// The pause between two actions of the computer at the fast pace.
constexpr int64_t FastAiActionMilliseconds = 250;

// The rule's name as shown and stored: "Classic" or "Veteran".
const char* OpponentRuleName(OpponentRule rule);
// Reads a rule name, ignoring case; false (rule unchanged) for an unknown name.
bool ParseOpponentRule(std::string_view text, OpponentRule& rule);

// The opponent choices of the game, kept for every battle to come (Options writes them, the battle reads
// them when a frame starts).
struct OpponentSettings {
    // Rule of player 1's and player 2's computer-played units, in that order.
    std::array<OpponentRule, 2> rules{OpponentRule::Classic, OpponentRule::Classic};
    int64_t aiActionMilliseconds = DefaultAiActionMilliseconds;
};

// The game's opponent choices (one per process).
OpponentSettings& GameOpponentSettings();
// Sets the rule that plays player 1 or 2 in the game's battles; other players are ignored.
void SetOpponentRule(int32_t player, OpponentRule rule);
// The rule that plays player 1 or 2 in the game's battles (Classic for any other player).
OpponentRule GetOpponentRule(int32_t player);
// Sets the pause between the computer's actions in the game's battles (negative counts as 0).
void SetAiActionMilliseconds(int64_t milliseconds);
// The pause between the computer's actions in the game's battles.
int64_t GetAiActionMilliseconds();
