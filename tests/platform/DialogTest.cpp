#include "platform/Dialog.h"

#include <gtest/gtest.h>

TEST(Dialog, RecorderSeesBoxesAndRestoresPreviousHook) {
    {
        DialogRecorder outer;
        {
            DialogRecorder inner;
            ShowErrorBox("Could not open file for reading: x.xml");
            ShowAssertionBox("Missing \"hud\" Tag");
            EXPECT_TRUE(inner.sawText("Missing \"hud\" Tag"));
            EXPECT_EQ(inner.count(DialogKind::Error), 1);
            EXPECT_EQ(inner.count(DialogKind::Assertion), 1);
            EXPECT_EQ(inner.shown()[0].caption, "Error");
            EXPECT_EQ(inner.shown()[1].caption, "ASSERTION FAILURE");
        }
        ShowErrorBox("after");
        ASSERT_EQ(outer.shown().size(), 1u);
        EXPECT_EQ(outer.shown()[0].text, "after");
    }
    EXPECT_EQ(ShowDialog({DialogKind::Assertion, "ASSERTION FAILURE", "console"}), DialogAnswer::Ignore);
}

TEST(Dialog, RetryWithoutDebuggerActsAsIgnore) {
    DialogRecorder recorder(DialogAnswer::Retry);
    ASSERT_FALSE(DebuggerAttached());
    EXPECT_FALSE(CheckOrAssert(false, "retry me"));
    EXPECT_TRUE(recorder.sawText("retry me"));
}

TEST(DialogDeathTest, AbortEndsWithStatus255) {
    EXPECT_EXIT(
        {
            DialogRecorder recorder(DialogAnswer::Abort);
            ShowAssertionBox("abort");
        },
        ::testing::ExitedWithCode(255), "");
}
