#include "combat/OpponentRule.h"

#include <gtest/gtest.h>

TEST(OpponentRuleTest, NamesReadBackIgnoringCaseAndUnknownNamesAreRefused) {
    OpponentRule rule = OpponentRule::Classic;
    EXPECT_STREQ(OpponentRuleName(OpponentRule::Classic), "Classic");
    EXPECT_STREQ(OpponentRuleName(OpponentRule::Veteran), "Veteran");
    EXPECT_TRUE(ParseOpponentRule("vEtErAn", rule));
    EXPECT_EQ(rule, OpponentRule::Veteran);
    EXPECT_TRUE(ParseOpponentRule("CLASSIC", rule));
    EXPECT_EQ(rule, OpponentRule::Classic);
    rule = OpponentRule::Veteran;
    for (const char* bad : {"", "Vet", "Veterans", " Classic", "expert"}) {
        EXPECT_FALSE(ParseOpponentRule(bad, rule)) << bad;
        EXPECT_EQ(rule, OpponentRule::Veteran) << "an unknown name changed the rule: " << bad;
    }
}

TEST(OpponentRuleTest, GameSettingsStartClassicAtOneSecondAndIgnoreUnknownPlayers) {
    OpponentSettings saved = GameOpponentSettings();
    EXPECT_EQ(GetOpponentRule(1), OpponentRule::Classic);
    EXPECT_EQ(GetOpponentRule(2), OpponentRule::Classic);
    EXPECT_EQ(GetAiActionMilliseconds(), 1000);
    SetOpponentRule(2, OpponentRule::Veteran);
    SetOpponentRule(3, OpponentRule::Veteran);
    SetAiActionMilliseconds(FastAiActionMilliseconds);
    EXPECT_EQ(GetOpponentRule(1), OpponentRule::Classic);
    EXPECT_EQ(GetOpponentRule(2), OpponentRule::Veteran);
    EXPECT_EQ(GetOpponentRule(3), OpponentRule::Classic);
    EXPECT_EQ(GetAiActionMilliseconds(), 250);
    SetAiActionMilliseconds(-5);
    EXPECT_EQ(GetAiActionMilliseconds(), 0);
    GameOpponentSettings() = saved;
}
