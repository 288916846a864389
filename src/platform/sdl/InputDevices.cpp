#include "platform/sdl/InputDevices.h"

#include "hud/Message.h"
#include "platform/GameWindow.h"

#include <SDL.h>

#include <cctype>
#include <utility>

namespace {

struct KeyCodePair {
    SDL_Scancode scancode;
    int32_t code;
    char character;
};

// Every key the game knows, with its PC scan code and the character printed on it.
constexpr KeyCodePair keyTable[] = {
    {SDL_SCANCODE_ESCAPE, 1, 0},
    {SDL_SCANCODE_1, 2, '1'},
    {SDL_SCANCODE_2, 3, '2'},
    {SDL_SCANCODE_3, 4, '3'},
    {SDL_SCANCODE_4, 5, '4'},
    {SDL_SCANCODE_5, 6, '5'},
    {SDL_SCANCODE_6, 7, '6'},
    {SDL_SCANCODE_7, 8, '7'},
    {SDL_SCANCODE_8, 9, '8'},
    {SDL_SCANCODE_9, 10, '9'},
    {SDL_SCANCODE_0, 11, '0'},
    {SDL_SCANCODE_MINUS, 12, '-'},
    {SDL_SCANCODE_EQUALS, 13, '='},
    {SDL_SCANCODE_BACKSPACE, 14, 0},
    {SDL_SCANCODE_TAB, 15, 0},
    {SDL_SCANCODE_Q, 16, 'Q'},
    {SDL_SCANCODE_W, 17, 'W'},
    {SDL_SCANCODE_E, 18, 'E'},
    {SDL_SCANCODE_R, 19, 'R'},
    {SDL_SCANCODE_T, 20, 'T'},
    {SDL_SCANCODE_Y, 21, 'Y'},
    {SDL_SCANCODE_U, 22, 'U'},
    {SDL_SCANCODE_I, 23, 'I'},
    {SDL_SCANCODE_O, 24, 'O'},
    {SDL_SCANCODE_P, 25, 'P'},
    {SDL_SCANCODE_LEFTBRACKET, 26, '['},
    {SDL_SCANCODE_RIGHTBRACKET, 27, ']'},
    {SDL_SCANCODE_RETURN, 28, 0},
    {SDL_SCANCODE_LCTRL, 29, 0},
    {SDL_SCANCODE_A, 30, 'A'},
    {SDL_SCANCODE_S, 31, 'S'},
    {SDL_SCANCODE_D, 32, 'D'},
    {SDL_SCANCODE_F, 33, 'F'},
    {SDL_SCANCODE_G, 34, 'G'},
    {SDL_SCANCODE_H, 35, 'H'},
    {SDL_SCANCODE_J, 36, 'J'},
    {SDL_SCANCODE_K, 37, 'K'},
    {SDL_SCANCODE_L, 38, 'L'},
    {SDL_SCANCODE_SEMICOLON, 39, ';'},
    {SDL_SCANCODE_APOSTROPHE, 40, '\''},
    {SDL_SCANCODE_GRAVE, 41, '`'},
    {SDL_SCANCODE_LSHIFT, 42, 0},
    {SDL_SCANCODE_BACKSLASH, 43, '\\'},
    {SDL_SCANCODE_Z, 44, 'Z'},
    {SDL_SCANCODE_X, 45, 'X'},
    {SDL_SCANCODE_C, 46, 'C'},
    {SDL_SCANCODE_V, 47, 'V'},
    {SDL_SCANCODE_B, 48, 'B'},
    {SDL_SCANCODE_N, 49, 'N'},
    {SDL_SCANCODE_M, 50, 'M'},
    {SDL_SCANCODE_COMMA, 51, ','},
    {SDL_SCANCODE_PERIOD, 52, '.'},
    {SDL_SCANCODE_SLASH, 53, '/'},
    {SDL_SCANCODE_RSHIFT, 54, 0},
    {SDL_SCANCODE_KP_MULTIPLY, 55, '*'},
    {SDL_SCANCODE_LALT, 56, 0},
    {SDL_SCANCODE_SPACE, 57, ' '},
    {SDL_SCANCODE_CAPSLOCK, 58, 0},
    {SDL_SCANCODE_F1, 59, 0},
    {SDL_SCANCODE_F2, 60, 0},
    {SDL_SCANCODE_F3, 61, 0},
    {SDL_SCANCODE_F4, 62, 0},
    {SDL_SCANCODE_F5, 63, 0},
    {SDL_SCANCODE_F6, 64, 0},
    {SDL_SCANCODE_F7, 65, 0},
    {SDL_SCANCODE_F8, 66, 0},
    {SDL_SCANCODE_F9, 67, 0},
    {SDL_SCANCODE_F10, 68, 0},
    {SDL_SCANCODE_NUMLOCKCLEAR, 69, 0},
    {SDL_SCANCODE_SCROLLLOCK, 70, 0},
    {SDL_SCANCODE_KP_7, 71, 0},
    {SDL_SCANCODE_KP_8, 72, 0},
    {SDL_SCANCODE_KP_9, 73, 0},
    {SDL_SCANCODE_KP_MINUS, 74, 0},
    {SDL_SCANCODE_KP_4, 75, 0},
    {SDL_SCANCODE_KP_5, 76, 0},
    {SDL_SCANCODE_KP_6, 77, 0},
    {SDL_SCANCODE_KP_PLUS, 78, 0},
    {SDL_SCANCODE_KP_1, 79, 0},
    {SDL_SCANCODE_KP_2, 80, 0},
    {SDL_SCANCODE_KP_3, 81, 0},
    {SDL_SCANCODE_KP_0, 82, 0},
    {SDL_SCANCODE_KP_PERIOD, 83, 0},
    {SDL_SCANCODE_NONUSBACKSLASH, 86, 0},
    {SDL_SCANCODE_F11, 87, 0},
    {SDL_SCANCODE_F12, 88, 0},
    {SDL_SCANCODE_KP_ENTER, 156, 0},
    {SDL_SCANCODE_RCTRL, 157, 0},
    {SDL_SCANCODE_KP_DIVIDE, 181, 0},
    {SDL_SCANCODE_PRINTSCREEN, 183, 0},
    {SDL_SCANCODE_RALT, 184, 0},
    {SDL_SCANCODE_PAUSE, 197, 0},
    {SDL_SCANCODE_HOME, 199, 0},
    {SDL_SCANCODE_UP, 200, 0},
    {SDL_SCANCODE_PAGEUP, 201, 0},
    {SDL_SCANCODE_LEFT, 203, 0},
    {SDL_SCANCODE_RIGHT, 205, 0},
    {SDL_SCANCODE_END, 207, 0},
    {SDL_SCANCODE_DOWN, 208, 0},
    {SDL_SCANCODE_PAGEDOWN, 209, 0},
    {SDL_SCANCODE_INSERT, 210, 0},
    {SDL_SCANCODE_DELETE, 211, 0},
    {SDL_SCANCODE_LGUI, 219, 0},
    {SDL_SCANCODE_RGUI, 220, 0},
    {SDL_SCANCODE_APPLICATION, 221, 0},
};

// Sends one key or button: down every read while held, pressed in the first read, released once.
void SendButton(bool down, bool wasDown, int32_t value, int32_t downType, const InputSender& send) {
    if (down) {
        send(downType, value);
        send(wasDown ? downType + 1 : downType + 2, value);
    } else if (wasDown) {
        send(downType + 3, value);
    }
}

// Records a press (latched until the next read, held until its release) or a release of a key or button.
void Mark(uint8_t& latched, uint8_t& held, bool down) {
    if (down) {
        latched = 0x80;
    }
    held = down ? 0x80 : 0;
}

// Follows the pointer, the presses and the wheel between reads; SDL reports the wheel only as events, and
// events pushed by an input tool reach the game only this way.
int WatchEvents(void* userData, SDL_Event* event) {
    InputEvents& events = *static_cast<InputEvents*>(userData);
    switch (event->type) {
    case SDL_MOUSEWHEEL: {
        int32_t notches = event->wheel.y;
        if (event->wheel.direction == SDL_MOUSEWHEEL_FLIPPED) {
            notches = -notches;
        }
        events.latched.motionZ += notches * wheelNotch;
        break;
    }
    case SDL_MOUSEMOTION:
        events.havePointer = true;
        events.pointerInside = true;
        events.pointerX = event->motion.x;
        events.pointerY = event->motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const int32_t button = MouseButtonOfSdlButton(event->button.button);
        if (button >= 0) {
            const auto b = size_t(button);
            Mark(events.latched.buttons[b], events.held.buttons[b], event->type == SDL_MOUSEBUTTONDOWN);
        }
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const int32_t code = KeyCodeOfScancode(event->key.keysym.scancode);
        if (code != 0) {
            const auto k = size_t(code);
            Mark(events.latched.keys[k], events.held.keys[k], event->type == SDL_KEYDOWN);
        }
        break;
    }
    case SDL_WINDOWEVENT:
        if (event->window.event == SDL_WINDOWEVENT_LEAVE) {
            events.pointerInside = false;
        } else if (event->window.event == SDL_WINDOWEVENT_ENTER) {
            events.pointerInside = events.havePointer;
        } else if (event->window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            // Releases while another window has the focus never reach us.
            events.held = InputSnapshot{};
        }
        break;
    default:
        break;
    }
    return 0;
}

} // namespace

int32_t KeyCodeOfScancode(int32_t sdlScancode) {
    for (const KeyCodePair& pair : keyTable) {
        if (pair.scancode == sdlScancode) {
            return pair.code;
        }
    }
    return 0;
}

int32_t ScancodeOfKeyCode(int32_t keyCode) {
    for (const KeyCodePair& pair : keyTable) {
        if (pair.code == keyCode) {
            return pair.scancode;
        }
    }
    return SDL_SCANCODE_UNKNOWN;
}

int32_t MouseButtonOfSdlButton(int32_t sdlButton) {
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return 0;
    case SDL_BUTTON_RIGHT:
        return 1;
    case SDL_BUTTON_MIDDLE:
        return 2;
    case SDL_BUTTON_X1:
        return 3;
    case SDL_BUTTON_X2:
        return 4;
    default:
        return -1;
    }
}

int32_t KeyCodeOfCharacter(char character) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
    if (upper == 0) {
        return 0;
    }
    for (const KeyCodePair& pair : keyTable) {
        if (pair.character == upper) {
            return pair.code;
        }
    }
    return 0;
}

char CharacterOfKeyCode(int32_t keyCode) {
    for (const KeyCodePair& pair : keyTable) {
        if (pair.code == keyCode) {
            return pair.character;
        }
    }
    return 0;
}

void SendInputChanges(const InputSnapshot& previous, const InputSnapshot& current, const InputSender& send) {
    for (int32_t k = 0; k < keyCodeCount; ++k) {
        SendButton(current.keys[size_t(k)] != 0, previous.keys[size_t(k)] != 0, k, KeyDown, send);
    }
    for (int32_t b = 0; b < mouseButtonCount; ++b) {
        SendButton(current.buttons[size_t(b)] != 0, previous.buttons[size_t(b)] != 0, b, MouseButtonDown,
                   send);
    }
    if (current.motionZ != 0) {
        send(MouseWheel, current.motionZ / wheelNotch);
    }
    if (current.motionX != 0 || current.motionY != 0) {
        send(MouseMoved, current.motionX);
    }
}

InputDevices::InputDevices(InputSender send, GameWindow* window) : send_(std::move(send)), window_(window) {}

InputDevices::~InputDevices() {
    if (watching_) {
        SDL_DelEventWatch(WatchEvents, &events_);
    }
}

bool InputDevices::CreateKeyboard() {
    keyboard_ = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    Watch();
    return keyboard_;
}

bool InputDevices::CreateMouse() {
    mouse_ = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    Watch();
    return mouse_;
}

void InputDevices::Watch() {
    if (!watching_ && (keyboard_ || mouse_)) {
        SDL_AddEventWatch(WatchEvents, &events_);
        watching_ = true;
    }
}

void InputDevices::Update() {
    if (!initialised || !active) {
        return;
    }
    Process(ReadDevices());
}

void InputDevices::Process(const InputSnapshot& current) {
    previous_ = current_;
    current_ = current;
    if (send_) {
        SendInputChanges(previous_, current_, send_);
    }
}

bool InputDevices::PointerInWindow(int& windowX, int& windowY) const {
    windowX = 0;
    windowY = 0;
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return false;
    }
    if (events_.havePointer) {
        windowX = events_.pointerX;
        windowY = events_.pointerY;
        return events_.pointerInside;
    }
    SDL_GetMouseState(&windowX, &windowY);
    return SDL_GetMouseFocus() != nullptr;
}

void InputDevices::ToFrame(int windowX, int windowY, int& x, int& y) const {
    x = windowX;
    y = windowY;
    if (window_ != nullptr) {
        window_->MapToFrame(windowX, windowY, x, y);
    }
}

bool InputDevices::CursorPosition(int& x, int& y) const {
    int windowX = 0;
    int windowY = 0;
    const bool inside = PointerInWindow(windowX, windowY);
    x = 0;
    y = 0;
    if (inside) {
        ToFrame(windowX, windowY, x, y);
    }
    return inside;
}

InputSnapshot InputDevices::ReadDevices() {
    InputSnapshot read;
    const InputSnapshot latched = std::exchange(events_.latched, InputSnapshot{});
    const InputSnapshot& held = events_.held;
    const bool keyboardFree = window_ == nullptr || !window_->OverlayWantsKeyboard();
    if (keyboard_ && keyboardFree) {
        int count = 0;
        const uint8_t* state = SDL_GetKeyboardState(&count);
        for (const KeyCodePair& pair : keyTable) {
            const auto k = size_t(pair.code);
            if ((int(pair.scancode) < count && state[pair.scancode] != 0) || latched.keys[k] != 0 ||
                held.keys[k] != 0) {
                read.keys[k] = 0x80;
            }
        }
    }
    const bool mouseFree = window_ == nullptr || !window_->OverlayWantsMouse();
    if (mouse_ && mouseFree) {
        const uint32_t buttons = SDL_GetMouseState(nullptr, nullptr);
        for (int sdlButton = SDL_BUTTON_LEFT; sdlButton <= SDL_BUTTON_X2; ++sdlButton) {
            const int32_t button = MouseButtonOfSdlButton(sdlButton);
            if (button < 0) {
                continue;
            }
            const auto b = size_t(button);
            if ((buttons & SDL_BUTTON(sdlButton)) != 0 || latched.buttons[b] != 0 || held.buttons[b] != 0) {
                read.buttons[b] = 0x80;
            }
        }
        int windowX = 0;
        int windowY = 0;
        PointerInWindow(windowX, windowY);
        int x = 0;
        int y = 0;
        ToFrame(windowX, windowY, x, y);
        if (havePosition_) {
            read.motionX = x - lastX_;
            read.motionY = y - lastY_;
        }
        lastX_ = x;
        lastY_ = y;
        havePosition_ = true;
        read.motionZ = latched.motionZ;
    }
    return read;
}
