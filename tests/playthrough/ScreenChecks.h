#pragma once

#include "driver/Picture.h"

#include <gtest/gtest.h>

#include <string>

// Checks a play-through makes on what the window shows.

// Expects that a screen shows something else than the one before it.
inline void ExpectNewScreen(const Picture& before, const Picture& after, const std::string& what) {
    const double changed = DifferingShare(before, after, after.bounds());
    EXPECT_GT(changed, 0.15) << what << ": only " << changed * 100 << "% of the window changed";
}
