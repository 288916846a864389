#include "platform/sdl/SdlPlatform.h"
#include "platform/Dialog.h"
#include "platform/HighResTimer.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(SdlDialog, BoxesKeepTheirCaptionsTextsAndButtons) {
    SDL_MessageBoxData box{};
    SDL_MessageBoxButtonData buttons[3]{};
    const DialogRequest assertion{DialogKind::Assertion, "ASSERTION FAILURE", "Missing \"hud\" Tag"};
    FillMessageBox(assertion, box, buttons);
    EXPECT_STREQ(box.title, "ASSERTION FAILURE");
    EXPECT_STREQ(box.message, "Missing \"hud\" Tag");
    EXPECT_EQ(box.flags & SDL_MESSAGEBOX_ERROR, static_cast<Uint32>(SDL_MESSAGEBOX_ERROR));
    ASSERT_EQ(box.numbuttons, 3);
    EXPECT_STREQ(buttons[0].text, "Abort");
    EXPECT_EQ(buttons[0].buttonid, static_cast<int>(DialogAnswer::Abort));
    EXPECT_STREQ(buttons[1].text, "Retry");
    EXPECT_EQ(buttons[1].buttonid, static_cast<int>(DialogAnswer::Retry));
    EXPECT_STREQ(buttons[2].text, "Ignore");
    EXPECT_EQ(buttons[2].buttonid, static_cast<int>(DialogAnswer::Ignore));

    const DialogRequest error{DialogKind::Error, "Error", "Could not open file for reading: a.xml"};
    FillMessageBox(error, box, buttons);
    EXPECT_STREQ(box.title, "Error");
    EXPECT_STREQ(box.message, "Could not open file for reading: a.xml");
    ASSERT_EQ(box.numbuttons, 1);
    EXPECT_STREQ(buttons[0].text, "OK");
    EXPECT_EQ(buttons[0].buttonid, static_cast<int>(DialogAnswer::Ok));
}

TEST(SdlDialog, RecorderSeesAssertionsOverTheSdlHook) {
    InstallSdlDialogHook();
    {
        DialogRecorder recorder;
        ShowAssertionBox("Missing \"hud\" Tag");
        EXPECT_TRUE(recorder.sawText("Missing \"hud\" Tag"));
        EXPECT_EQ(recorder.count(DialogKind::Assertion), 1);
    }
    SetDialogHook(nullptr);
}

TEST(SdlDialogDeathTest, AbortEndsWithStatus255) {
    EXPECT_EXIT(
        {
            InstallSdlDialogHook();
            DialogRecorder recorder(DialogAnswer::Abort);
            ShowAssertionBox("abort");
        },
        ::testing::ExitedWithCode(255), "");
}

TEST(SdlDialogDeathTest, WithoutADisplayBoxesGoToStandardErrorAndTheGameGoesOn) {
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            InstallSdlDialogHook();
            ShowAssertionBox("no display here");
            ShowErrorBox("still going");
            std::exit(7);
        },
        ::testing::ExitedWithCode(7), "\\[ASSERTION FAILURE\\] no display here\n\\[Error\\] still going");
}

TEST(SdlTime, TheTimerRunsOnSdlsCounter) {
    UseSdlTimeSource();
    HighResTimer& timer = HighResTimer::Get();
    EXPECT_EQ(timer.Frequency, static_cast<int64_t>(SDL_GetPerformanceFrequency()));
    const int64_t before = timer.Elapsed();
    const uint32_t ticksBefore = GetTickCount();
    Sleep(20);
    const int64_t after = timer.Elapsed();
    EXPECT_GE(after - before, timer.Frequency * 15 / 1000) << "Sleep(20) waits about 20 ms";
    EXPECT_GE(GetTickCount() - ticksBefore, 15u);
    UseTimeSource(nullptr);
}
