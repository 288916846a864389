#pragma once

#include "hud/MessageReciever.h"
#include "render/Camera.h"

// The camera's receiver: each frame it clears the key flags and sets the flag of every camera action
// whose key is down in this frame's KeyDown messages.
class CameraMsg final : public MessageReciever {
public:
    // Listens for key-down messages on behalf of the keys (not owned).
    explicit CameraMsg(CameraKeys& keys, MessageDispatcher& dispatcher = MessageDispatcher::Instance());
    ~CameraMsg() = default;

    void ProcessMessages() override;

private:
    CameraKeys& keys_;
};
