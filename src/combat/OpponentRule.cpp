#include "combat/OpponentRule.h"

#include <cctype>

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

const char* OpponentRuleName(OpponentRule rule) {
    return rule == OpponentRule::Veteran ? "Veteran" : "Classic";
}

bool ParseOpponentRule(std::string_view text, OpponentRule& rule) {
    for (OpponentRule each : {OpponentRule::Classic, OpponentRule::Veteran}) {
        if (SameIgnoringCase(text, OpponentRuleName(each))) {
            rule = each;
            return true;
        }
    }
    return false;
}

OpponentSettings& GameOpponentSettings() {
    static OpponentSettings settings;
    return settings;
}

void SetOpponentRule(int32_t player, OpponentRule rule) {
    if (player == 1 || player == 2) {
        GameOpponentSettings().rules[static_cast<size_t>(player - 1)] = rule;
    }
}

OpponentRule GetOpponentRule(int32_t player) {
    if (player == 1 || player == 2) {
        return GameOpponentSettings().rules[static_cast<size_t>(player - 1)];
    }
    return OpponentRule::Classic;
}

void SetAiActionMilliseconds(int64_t milliseconds) {
    GameOpponentSettings().aiActionMilliseconds = milliseconds < 0 ? 0 : milliseconds;
}

int64_t GetAiActionMilliseconds() {
    return GameOpponentSettings().aiActionMilliseconds;
}
