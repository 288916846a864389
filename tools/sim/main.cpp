// vantor-sim MISSION [--squad UNITFILE...] [--seeds N] [--seed S] [--max-activations N]
//            [--p1-ai classic|veteran] [--p2-ai classic|veteran] [--trace]
// vantor-sim --table [--seeds N] [--seed S] [--max-activations N]
// Plays missions without a window, the computer playing both sides, from the run folder.

#include "combat/BattleSimulation.h"
#include "platform/Dialog.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: vantor-sim MISSION [--squad UNITFILE...] [--seeds N] [--seed S] "
                 "[--max-activations N] [--p1-ai RULE] [--p2-ai RULE] [--trace]\n"
                 "       vantor-sim --table [--seeds N] [--seed S] [--max-activations N]\n"
                 "  MISSION and UNITFILE are game paths such as XMLFiles\\Missions\\01_Outskirts.xml,\n"
                 "  read from the current folder (the game's run folder). RULE is classic (the default)\n"
                 "  or veteran. --trace prints every activation, move, shot, hit and loss as it happens.\n"
                 "  --table plays every mission of XMLFiles\\Missions with the starter squad\n"
                 "  (200 seeds unless --seeds says otherwise) for the rule pairs classic/classic,\n"
                 "  classic/veteran and veteran/classic and prints the results as a table.\n");
    return 2;
}

bool ReadCount(const char* text, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && value > 0;
}

// What a series of battles came to.
struct Tally {
    long long battles = 0;
    long long wins = 0;
    long long losses = 0;
    long long undecided = 0;
    long long stalled = 0;
    long long totalActivations = 0;
    long long longest = 0;
    double winRate() const { return battles > 0 ? 100.0 * static_cast<double>(wins) / battles : 0.0; }
};

// Plays seeds battles from firstSeed on; false when the mission or squad cannot be loaded.
bool PlaySeries(BattleSettings settings, long long firstSeed, long long seeds, Tally& tally) {
    for (long long seed = firstSeed; seed < firstSeed + seeds; ++seed) {
        settings.seed = static_cast<uint32_t>(seed);
        BattleOutcome outcome = SimulateBattle(settings);
        if (!outcome.loaded) {
            std::fprintf(stderr, "vantor-sim: could not load %s or its squad\n", settings.mission.c_str());
            return false;
        }
        ++tally.battles;
        tally.wins += outcome.winner == 1 ? 1 : 0;
        tally.losses += outcome.winner == 2 ? 1 : 0;
        tally.undecided += outcome.winner == 0 ? 1 : 0;
        tally.stalled += outcome.stalled ? 1 : 0;
        tally.totalActivations += outcome.activations;
        tally.longest = std::max<long long>(tally.longest, outcome.activations);
    }
    return true;
}

int PlayOne(const BattleSettings& settings) {
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

int PlayMany(const BattleSettings& settings, long long firstSeed, long long seeds) {
    Tally t;
    if (!PlaySeries(settings, firstSeed, seeds, t)) {
        return 1;
    }
    std::printf("rules: player 1 %s, player 2 %s\n", OpponentRuleName(settings.rules[0]),
                OpponentRuleName(settings.rules[1]));
    std::printf("battles: %lld\nplayer 1 wins: %lld\nplayer 2 wins: %lld\nundecided: %lld (stalled %lld)\n"
                "win rate of player 1: %.1f %%\nactivations: mean %.1f, longest %lld\n",
                t.battles, t.wins, t.losses, t.undecided, t.stalled, t.winRate(),
                static_cast<double>(t.totalActivations) / static_cast<double>(t.battles), t.longest);
    return 0;
}

// The name of a mission file without its folder and extension.
std::string MissionName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string Cell(const Tally& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f %% (%lld / %lld)", t.winRate(), t.losses, t.undecided);
    return text;
}

int PrintTable(BattleSettings settings, long long firstSeed, long long seeds) {
    std::vector<std::string> missions;
    ListFiles("XMLFiles\\Missions", missions);
    std::erase_if(missions,
                  [](const std::string& m) { return m.size() < 4 || m.substr(m.size() - 4) != ".xml"; });
    if (missions.empty()) {
        std::fprintf(stderr, "vantor-sim: no missions under XMLFiles\\Missions in this folder\n");
        return 1;
    }
    const OpponentRule C = OpponentRule::Classic;
    const OpponentRule V = OpponentRule::Veteran;
    const std::array<OpponentRule, 2> pairs[3] = {{C, C}, {C, V}, {V, C}};
    std::printf("Player 1's win rate over %lld seeds from %lld, starter squad; in brackets player 2's wins / "
                "undecided battles.\n\n",
                seeds, firstSeed);
    std::printf("| Mission | Classic / Classic | Classic / Veteran | Veteran / Classic | P2 Veteran | "
                "P1 Veteran |\n|---|---|---|---|---|---|\n");
    for (const std::string& mission : missions) {
        Tally tallies[3];
        settings.mission = mission;
        for (int p = 0; p < 3; ++p) {
            settings.rules = pairs[p];
            if (!PlaySeries(settings, firstSeed, seeds, tallies[p])) {
                return 1;
            }
        }
        std::printf("| %s | %s | %s | %s | %+.1f | %+.1f |\n", MissionName(mission).c_str(),
                    Cell(tallies[0]).c_str(), Cell(tallies[1]).c_str(), Cell(tallies[2]).c_str(),
                    tallies[1].winRate() - tallies[0].winRate(), tallies[2].winRate() - tallies[0].winRate());
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return Usage();
    }
    BattleSettings settings;
    bool table = std::strcmp(argv[1], "--table") == 0;
    if (!table) {
        settings.mission = argv[1];
    }
    long long seeds = 0;
    long long firstSeed = 1;
    for (int i = 2; i < argc; ++i) {
        long long value = 0;
        OpponentRule rule = OpponentRule::Classic;
        if (std::strcmp(argv[i], "--squad") == 0 && !table) {
            while (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) {
                settings.squadFiles.push_back(argv[++i]);
            }
        } else if (std::strcmp(argv[i], "--trace") == 0 && !table) {
            settings.trace = true;
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
        } else if ((std::strcmp(argv[i], "--p1-ai") == 0 || std::strcmp(argv[i], "--p2-ai") == 0) && !table &&
                   i + 1 < argc && ParseOpponentRule(argv[i + 1], rule)) {
            settings.rules[argv[i][3] == '1' ? 0 : 1] = rule;
            ++i;
        } else {
            return Usage();
        }
    }
    if (table) {
        return PrintTable(settings, firstSeed, seeds == 0 ? 200 : seeds);
    }
    if (seeds == 0) {
        settings.seed = static_cast<uint32_t>(firstSeed);
        return PlayOne(settings);
    }
    return PlayMany(settings, firstSeed, seeds);
}
