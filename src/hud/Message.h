#pragma once

#include <cstdint>

// What happened: selects the subscribers of a broadcast and how a receiver handles it.
enum MessageType : int32_t {
    KeyDown = 1,
    KeyHeld = 2,
    KeyPressed = 3,
    KeyReleased = 4,
    MouseMoved = 5,
    MouseWheel = 6,
    MouseButtonDown = 7,
    MouseButtonHeld = 8,
    MouseButtonPressed = 9,
    MouseButtonReleased = 10,
    HudMessage = 11,
};

// Receiver id of a message for every subscriber of its type.
constexpr int32_t BROADCAST = -1;

// One message, copied by value into inboxes. Producers set the fields they do not use to 0.
struct Message {
    int32_t type = 0;
    // Id of the one receiver to deliver to, or BROADCAST.
    int32_t receiver = BROADCAST;
    // Timer reading taken when the message was sent; set by the dispatcher.
    int64_t timeStamp = 0;
    // Timer ticks to hold the message back; 0 or less delivers at once.
    int64_t delay = 0;
    // Key code, mouse button, wheel notches or a HUD button's data.
    int32_t value = 0;
};
