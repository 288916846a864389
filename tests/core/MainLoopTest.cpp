#include "core/MainLoop.h"
#include "FakeWindow.h"
#include "core/GameContext.h"
#include "hud/MessageReciever.h"
#include "platform/FakeClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> frameLog;
FakeClock* clockInUse = nullptr;

void ReadInput() {
    frameLog.push_back("input");
    // Each frame costs 1.5 ms of work.
    clockInUse->now += 1500;
}
// Opens the window and moves on to the logo, like the real boot without loading anything.
void FakeBoot() {
    GameContext& game = GameContext::Get();
    game.window().Open();
    game.ChangeState(kLogoState);
}
void LogoUpdate() {
    frameLog.push_back("screen update");
}
void SetInputActive(bool active) {
    frameLog.push_back(active ? "activated" : "deactivated");
}

class KeyListener final : public MessageReciever {
public:
    KeyListener() { Subscribe(KeyDown); }
    void ProcessMessages() override {
        DrainInbox([](const Message&) { frameLog.push_back("dispatch"); });
    }
};

} // namespace

// The whole game runs through one context, so the frames of this test run in sequence in one test.
TEST(MainLoop, RunsFramesHeadlessFromBootUntilTheWindowCloses) {
    FakeClock clock;
    clockInUse = &clock;
    GameContext& game = GameContext::Get();
    // Other tests of this program may have moved the game on; start again from the boot.
    game.lastMessage = WindowMessage{};
    auto owned = std::make_unique<FakeWindow>();
    FakeWindow& window = *owned;
    game.UseWindow(std::move(owned));
    SetInputHooks(ReadInput, SetInputActive);
    KeyListener listener;
    game.stateTable.SetRow(kBootState, {nullptr, FakeBoot, nullptr});
    game.stateTable.SetRow(kLogoState, {});
    if (game.currentState() != kBootState) {
        game.ChangeState(kBootState);
    }

    // The first frame boots: the window opens and the logo screen becomes current for the next frame.
    ASSERT_TRUE(RunFrame());
    EXPECT_TRUE(window.open);
    EXPECT_EQ(game.currentState(), kLogoState);
    EXPECT_EQ(window.events, (std::vector<std::string>{"overlay begin", "open", "overlay draw", "swap"}));
    EXPECT_EQ(clock.sleeps, std::vector<uint32_t>{15}) << "a 1.5 ms frame sleeps 15 ms";

    // At most one window message per frame; maximise toggles full screen, activation switches input.
    frameLog.clear();
    window.queue = {{WM_SYSCOMMAND, SC_MAXIMIZE, 0}, {WM_ACTIVATE, 0, 0}, {WM_SYSCOMMAND, SC_MINIMIZE, 0}};
    ASSERT_TRUE(RunFrame());
    EXPECT_TRUE(window.fullScreen);
    EXPECT_EQ(window.queue.size(), 2u);
    ASSERT_TRUE(RunFrame());
    EXPECT_EQ(frameLog, (std::vector<std::string>{"input", "deactivated", "input"}));
    ASSERT_TRUE(RunFrame());
    EXPECT_TRUE(window.fullScreen) << "minimise is swallowed";

    // Input messages sent this frame are delivered in the same frame, before the screen's update.
    frameLog.clear();
    Message key;
    key.type = KeyDown;
    MessageDispatcher::Instance().Send(key);
    ASSERT_TRUE(RunFrame());
    EXPECT_EQ(frameLog, (std::vector<std::string>{"input", "dispatch"}));

    // Closing: the close is taken and posts a quit; the frame still runs; the next frame ends the loop.
    game.stateTable.SetRow(kLogoState, {nullptr, LogoUpdate, nullptr});
    frameLog.clear();
    window.events.clear();
    window.queue = {{WM_CLOSE, 0, 0}};
    ASSERT_TRUE(RunFrame());
    EXPECT_EQ(window.queue.size(), 1u);
    EXPECT_EQ(window.queue.front().message, WM_QUIT);
    EXPECT_EQ(window.events, (std::vector<std::string>{"overlay begin", "overlay draw", "swap"}));
    EXPECT_EQ(frameLog, (std::vector<std::string>{"input", "screen update"}));
    EXPECT_FALSE(RunFrame());
    EXPECT_EQ(frameLog.size(), 2u) << "nothing runs once the loop has ended";
    EXPECT_EQ(window.events.back(), "overlay shutdown");
    EXPECT_EQ(RunMainLoop(), 0) << "the loop ends at once with status 0";

    SetInputHooks(nullptr, nullptr);
    clockInUse = nullptr;
}
