// vantor-sim MISSION [--squad UNITFILE...] [--seeds N] [--seed S] [--max-activations N]
// Plays a mission without a window, the computer's rule playing both sides, from the run folder.

#include "combat/BattleSimulation.h"
#include "platform/Dialog.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: vantor-sim MISSION [--squad UNITFILE...] [--seeds N] [--seed S] "
                 "[--max-activations N]\n"
                 "  MISSION and UNITFILE are game paths such as XMLFiles\\Missions\\01_Outskirts.xml,\n"
                 "  read from the current folder (the game's run folder).\n");
    return 2;
}

bool ReadCount(const char* text, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && value > 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return Usage();
    }
    BattleSettings settings;
    settings.mission = argv[1];
    long long seeds = 0;
    long long firstSeed = 1;
    for (int i = 2; i < argc; ++i) {
        long long value = 0;
        if (std::strcmp(argv[i], "--squad") == 0) {
            while (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) {
                settings.squadFiles.push_back(argv[++i]);
            }
        } else if (std::strcmp(argv[i], "--seeds") == 0 && i + 1 < argc && ReadCount(argv[i + 1], value)) {
            seeds = value;
            ++i;
        } else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc && ReadCount(argv[i + 1], value)) {
            firstSeed = value;
            ++i;
        } else if (std::strcmp(argv[i], "--max-activations") == 0 && i + 1 < argc &&
                   ReadCount(argv[i + 1], value)) {
            settings.maxActivations = value;
            ++i;
        } else {
            return Usage();
        }
    }
    if (seeds == 0) {
        settings.seed = static_cast<uint32_t>(firstSeed);
        BattleOutcome outcome = SimulateBattle(settings);
        if (!outcome.loaded) {
            std::fprintf(stderr, "vantor-sim: could not load %s or its squad\n", settings.mission.c_str());
            return 1;
        }
        std::printf("winner: %s\nactivations: %lld\nsurvivors: %zu\n",
                    outcome.winner == 0
                        ? (outcome.stalled ? "none (stalled: no enemy in reach)" : "none (activation limit)")
                        : (outcome.winner == 1 ? "player 1" : "player 2"),
                    static_cast<long long>(outcome.activations), outcome.survivors.size());
        for (const Survivor& s : outcome.survivors) {
            std::printf("  player %d  %-20s %4d / %3d hp  at (%d, %d)\n", s.player, s.name.c_str(), s.hp,
                        s.fullHp, s.x, s.y);
        }
        return 0;
    }
    long long wins = 0, losses = 0, undecided = 0, stalled = 0, totalActivations = 0, longest = 0;
    for (long long seed = firstSeed; seed < firstSeed + seeds; ++seed) {
        settings.seed = static_cast<uint32_t>(seed);
        BattleOutcome outcome = SimulateBattle(settings);
        if (!outcome.loaded) {
            std::fprintf(stderr, "vantor-sim: could not load %s or its squad\n", settings.mission.c_str());
            return 1;
        }
        wins += outcome.winner == 1 ? 1 : 0;
        losses += outcome.winner == 2 ? 1 : 0;
        undecided += outcome.winner == 0 ? 1 : 0;
        stalled += outcome.stalled ? 1 : 0;
        totalActivations += outcome.activations;
        longest = std::max<long long>(longest, outcome.activations);
    }
    std::printf("battles: %lld\nplayer 1 wins: %lld\nplayer 2 wins: %lld\nundecided: %lld (stalled %lld)\n"
                "win rate of player 1: %.1f %%\nactivations: mean %.1f, longest %lld\n",
                seeds, wins, losses, undecided, stalled,
                100.0 * static_cast<double>(wins) / static_cast<double>(seeds),
                static_cast<double>(totalActivations) / static_cast<double>(seeds), longest);
    return 0;
}
