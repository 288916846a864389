#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace {

// Runs a command in the run folder; returns its exit status and fills its standard output.
int RunTool(const std::string& command, std::string& output) {
    output.clear();
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(SimulatorTool, PrintsTheBattleAndTheWinRate) {
    if (!std::filesystem::exists("vantor-sim")) {
        GTEST_SKIP() << "vantor-sim is not built in this run folder";
    }
    std::string out;
    ASSERT_EQ(RunTool("./vantor-sim 'XMLFiles\\Missions\\01_Outskirts.xml' 2>/dev/null", out), 0);
    EXPECT_NE(out.find("winner: player 1"), std::string::npos) << out;
    EXPECT_NE(out.find("activations: "), std::string::npos) << out;
    EXPECT_NE(out.find("player 1  Gold"), std::string::npos) << out;
    // The trace tells the same battle as it goes: each activation, its moves and shots, and every loss.
    std::string traced;
    ASSERT_EQ(RunTool("./vantor-sim 'XMLFiles\\Missions\\01_Outskirts.xml' --trace 2>/dev/null", traced), 0);
    EXPECT_EQ(traced.rfind("#1 P1 Gold Wolf at (2, 5)", 0), 0u) << traced;
    EXPECT_NE(traced.find("   moves to ("), std::string::npos) << traced;
    EXPECT_NE(traced.find("   fires (shot 1)"), std::string::npos) << traced;
    EXPECT_NE(traced.find("P2 Scout Rat destroyed"), std::string::npos) << traced;
    EXPECT_NE(traced.find("P2 Picket Frog destroyed"), std::string::npos) << traced;
    EXPECT_NE(traced.find(out), std::string::npos) << "ends as the untraced battle does\n" << traced;
    ASSERT_EQ(RunTool("./vantor-sim 'XMLFiles\\Missions\\01_Outskirts.xml' --seeds 3 2>/dev/null", out), 0);
    EXPECT_NE(out.find("win rate of player 1: 100.0 %"), std::string::npos) << out;
    ASSERT_EQ(
        RunTool(
            "./vantor-sim 'XMLFiles\\Missions\\02_Riverside.xml' --squad 'XMLFiles\\Units\\LancerWolf.xml' "
            "'XMLFiles\\Units\\WardenAnt.xml' 2>/dev/null",
            out),
        0);
    EXPECT_NE(out.find("winner: "), std::string::npos) << out;
    EXPECT_EQ(out.find("Gold"), std::string::npos) << "the given squad replaces the starter squad\n" << out;
    ASSERT_EQ(RunTool("./vantor-sim 'XMLFiles\\Missions\\02_Riverside.xml' --seeds 2 --p1-ai Veteran "
                      "--p2-ai classic 2>/dev/null",
                      out),
              0);
    EXPECT_NE(out.find("rules: player 1 Veteran, player 2 Classic"), std::string::npos) << out;
    EXPECT_EQ(RunTool("./vantor-sim 'XMLFiles\\Missions\\02_Riverside.xml' --p2-ai expert 2>/dev/null", out),
              2)
        << "an unknown rule is refused";
    ASSERT_EQ(RunTool("./vantor-sim --table --seeds 1 2>/dev/null", out), 0);
    EXPECT_NE(out.find("| Mission | Classic / Classic | Classic / Veteran | Veteran / Classic |"),
              std::string::npos)
        << out;
    for (const char* mission : {"| 01_Outskirts |", "| 06_Harbour |"}) {
        EXPECT_NE(out.find(mission), std::string::npos) << "every shipped mission has a row\n" << out;
    }
    EXPECT_EQ(RunTool("./vantor-sim 'XMLFiles\\Missions\\Nowhere.xml' 2>/dev/null", out), 1);
    EXPECT_EQ(RunTool("./vantor-sim 'XMLFiles\\Missions\\01_Outskirts.xml' --seeds many 2>/dev/null", out),
              2);
}
