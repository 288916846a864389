#include "platform/sdl/InputDevices.h"

#include "hud/Message.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Sent = std::vector<std::pair<int32_t, int32_t>>;

struct Recorder {
    Sent sent;
    InputSender sender() {
        return [this](int32_t type, int32_t value) { sent.emplace_back(type, value); };
    }
};

InputSnapshot WithKey(int32_t code) {
    InputSnapshot snapshot;
    snapshot.keys[size_t(code)] = 0x80;
    return snapshot;
}

} // namespace

TEST(InputCodes, ScancodesMapToTheClassicKeyCodes) {
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_ESCAPE), 1);
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_BACKSPACE), 14);
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_LCTRL), 29);
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_LSHIFT), 42);
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_SPACE), 57);
    // The camera's keys.
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_W), 17);
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_A), 30);
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_S), 31);
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_D), 32);
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_Q), 16);
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_E), 18);
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_LEFT), 203);
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_RIGHT), 205);
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_UP), 200);
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_DOWN), 208);
    EXPECT_EQ(KeyCodeOfScancode(SDL_SCANCODE_UNKNOWN), 0);

    // Every code comes from one key and maps back to it; all codes fit the 256 key states.
    for (int scancode = 1; scancode < SDL_NUM_SCANCODES; ++scancode) {
        const int32_t code = KeyCodeOfScancode(scancode);
        ASSERT_GE(code, 0);
        ASSERT_LT(code, keyCodeCount);
        if (code != 0) {
            EXPECT_EQ(ScancodeOfKeyCode(code), scancode) << code;
        }
    }
    EXPECT_EQ(ScancodeOfKeyCode(0), SDL_SCANCODE_UNKNOWN);
    EXPECT_EQ(ScancodeOfKeyCode(255), SDL_SCANCODE_UNKNOWN);

    // The debug bar edits keys as characters.
    EXPECT_EQ(KeyCodeOfCharacter('w'), 17);
    EXPECT_EQ(KeyCodeOfCharacter('W'), 17);
    EXPECT_EQ(KeyCodeOfCharacter('1'), 2);
    EXPECT_EQ(KeyCodeOfCharacter('\0'), 0);
    EXPECT_EQ(KeyCodeOfCharacter('~'), 0);
    EXPECT_EQ(CharacterOfKeyCode(30), 'A');
    EXPECT_EQ(CharacterOfKeyCode(203), '\0');

    EXPECT_EQ(MouseButtonOfSdlButton(SDL_BUTTON_LEFT), 0);
    EXPECT_EQ(MouseButtonOfSdlButton(SDL_BUTTON_RIGHT), 1);
    EXPECT_EQ(MouseButtonOfSdlButton(SDL_BUTTON_MIDDLE), 2);
    EXPECT_EQ(MouseButtonOfSdlButton(SDL_BUTTON_X1), 3);
    EXPECT_EQ(MouseButtonOfSdlButton(SDL_BUTTON_X2), 4);
    EXPECT_EQ(MouseButtonOfSdlButton(9), -1);
}

TEST(InputDevices, KeysAndButtonsBecomeDownPressedHeldAndReleasedMessages) {
    Recorder recorder;
    InputDevices devices(recorder.sender(), nullptr);

    // Nothing is sent before the boot created the devices, nor while the window is inactive.
    devices.Update();
    devices.initialised = true;
    devices.Update();
    EXPECT_TRUE(recorder.sent.empty());

    // A key held for three reads, then let go.
    devices.Process(WithKey(57));
    EXPECT_EQ(recorder.sent, (Sent{{KeyDown, 57}, {KeyPressed, 57}}));
    recorder.sent.clear();
    devices.Process(WithKey(57));
    devices.Process(WithKey(57));
    EXPECT_EQ(recorder.sent, (Sent{{KeyDown, 57}, {KeyHeld, 57}, {KeyDown, 57}, {KeyHeld, 57}}));
    recorder.sent.clear();
    devices.Process(InputSnapshot{});
    EXPECT_EQ(recorder.sent, (Sent{{KeyReleased, 57}}));
    recorder.sent.clear();

    // Keys in code order, then buttons, then the wheel in whole notches, then horizontal motion.
    InputSnapshot mixed = WithKey(203);
    mixed.keys[17] = 0x80;
    mixed.buttons[1] = 0x80;
    mixed.motionZ = -240;
    mixed.motionY = 5;
    devices.Process(mixed);
    EXPECT_EQ(recorder.sent, (Sent{{KeyDown, 17},
                                   {KeyPressed, 17},
                                   {KeyDown, 203},
                                   {KeyPressed, 203},
                                   {MouseButtonDown, 1},
                                   {MouseButtonPressed, 1},
                                   {MouseWheel, -2},
                                   {MouseMoved, 0}}))
        << "pure vertical motion sends MouseMoved with 0";
    recorder.sent.clear();

    // Half a notch still reports the wheel, as 0 notches; a release of the button.
    InputSnapshot half;
    half.motionZ = 60;
    half.motionX = -3;
    devices.Process(half);
    EXPECT_EQ(recorder.sent, (Sent{{KeyReleased, 17},
                                   {KeyReleased, 203},
                                   {MouseButtonReleased, 1},
                                   {MouseWheel, 0},
                                   {MouseMoved, -3}}));
}

TEST(InputDevices, EventsPushedIntoTheQueueMoveTheCursorAndHoldButtonsAndKeys) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    Recorder recorder;
    {
        InputDevices devices(recorder.sender(), nullptr);
        ASSERT_TRUE(devices.CreateKeyboard());
        ASSERT_TRUE(devices.CreateMouse());
        devices.initialised = true;
        devices.active = true;
        auto push = [](SDL_Event event) { SDL_PushEvent(&event); };
        SDL_Event motion{};
        motion.type = SDL_MOUSEMOTION;
        motion.motion.x = 120;
        motion.motion.y = 80;
        push(motion);
        int x = 0;
        int y = 0;
        EXPECT_TRUE(devices.CursorPosition(x, y)) << "a pointer event puts the pointer over the window";
        EXPECT_EQ(x, 120);
        EXPECT_EQ(y, 80);

        // A button held over three reads: pressed, held, then released after its release event.
        SDL_Event button{};
        button.type = SDL_MOUSEBUTTONDOWN;
        button.button.button = SDL_BUTTON_LEFT;
        push(button);
        devices.Update();
        devices.Update();
        recorder.sent.clear();
        devices.Update();
        EXPECT_EQ(recorder.sent, (Sent{{MouseButtonDown, 0}, {MouseButtonHeld, 0}}));
        button.type = SDL_MOUSEBUTTONUP;
        push(button);
        recorder.sent.clear();
        devices.Update();
        EXPECT_EQ(recorder.sent, (Sent{{MouseButtonReleased, 0}}));

        // A key held by its event until the window loses the focus.
        SDL_Event key{};
        key.type = SDL_KEYDOWN;
        key.key.keysym.scancode = SDL_SCANCODE_SPACE;
        push(key);
        devices.Update();
        recorder.sent.clear();
        devices.Update();
        EXPECT_EQ(recorder.sent, (Sent{{KeyDown, 57}, {KeyHeld, 57}}));
        SDL_Event focus{};
        focus.type = SDL_WINDOWEVENT;
        focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
        push(focus);
        recorder.sent.clear();
        devices.Update();
        EXPECT_EQ(recorder.sent, (Sent{{KeyReleased, 57}}));

        // The pointer leaving the window takes the cursor with it.
        SDL_Event leave{};
        leave.type = SDL_WINDOWEVENT;
        leave.window.event = SDL_WINDOWEVENT_LEAVE;
        push(leave);
        EXPECT_FALSE(devices.CursorPosition(x, y));
    }
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
