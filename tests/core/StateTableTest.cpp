#include "core/GameContext.h"
#include "core/GameState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> calls;
StateTable* table = nullptr;

void OldExit() {
    calls.push_back("old exit, current " + std::to_string(table->current()));
}
void NewEnter() {
    calls.push_back("new enter, current " + std::to_string(table->current()));
}
void NewUpdate() {
    calls.push_back("new update");
}
void SharedEnter() {
    calls.push_back("shared enter");
}
void EnterThatMovesOn() {
    calls.push_back("enter moves on");
    table->ChangeState(7);
}

class StateTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        table = &states;
    }
    StateTable states;
};

} // namespace

TEST_F(StateTableTest, ChangeStateRunsOldExitThenNewEnterThenSwitches) {
    states.SetRow(0, {nullptr, nullptr, OldExit});
    states.SetRow(5, {NewEnter, NewUpdate, nullptr});
    EXPECT_EQ(states.current(), 0);
    states.ChangeState(5);
    // Inside the enter the current state is still the one being left.
    EXPECT_EQ(calls, (std::vector<std::string>{"old exit, current 0", "new enter, current 0"}));
    EXPECT_EQ(states.current(), 5);
    states.UpdateCurrent();
    EXPECT_EQ(calls.back(), "new update");
}

TEST_F(StateTableTest, ChangingToTheCurrentStateRunsItsExitAndEnter) {
    states.SetRow(1, {SharedEnter, nullptr, OldExit});
    states.SetRow(22, {SharedEnter, nullptr, nullptr});
    states.ChangeState(1);
    calls.clear();
    states.ChangeState(1);
    EXPECT_EQ(calls, (std::vector<std::string>{"old exit, current 1", "shared enter"}));
    calls.clear();
    states.ChangeState(22);
    EXPECT_EQ(calls, (std::vector<std::string>{"old exit, current 1", "shared enter"}));
}

TEST_F(StateTableTest, AStateWithoutARowGetsEmptyCallbacks) {
    states.SetRow(0, {nullptr, nullptr, OldExit});
    EXPECT_FALSE(states.HasRow(9));
    states.ChangeState(9);
    EXPECT_EQ(calls, (std::vector<std::string>{"old exit, current 0"}));
    EXPECT_EQ(states.current(), 9);
    EXPECT_TRUE(states.HasRow(9));
    states.UpdateCurrent();
    states.ChangeState(9);
    EXPECT_EQ(calls.size(), 1u) << "an empty row runs nothing";
}

TEST_F(StateTableTest, AChangeFromInsideAnEnterIsOverwrittenByTheOuterChange) {
    states.SetRow(3, {EnterThatMovesOn, nullptr, nullptr});
    states.ChangeState(3);
    EXPECT_EQ(states.current(), 3);
}

TEST(GameContext, HoldsEveryScreenOnce) {
    GameContext& game = GameContext::Get();
    EXPECT_EQ(&game, &GameContext::Get()) << "built once";
    for (GameState state : {0, 1, 22, 13, 14, 15, 2, 3, 11, 5, 8, 7, 6, 12}) {
        EXPECT_TRUE(game.stateTable.HasRow(state)) << state;
    }
    for (GameState state : {4, 9, 10, 16, 21}) {
        EXPECT_FALSE(game.stateTable.HasRow(state)) << state;
    }
    EXPECT_NE(game.stateTable.Row(kBootState).update, nullptr);
    EXPECT_EQ(game.board, nullptr);
    EXPECT_EQ(game.campaign, nullptr);
}
