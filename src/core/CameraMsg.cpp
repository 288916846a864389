#include "core/CameraMsg.h"

CameraMsg::CameraMsg(CameraKeys& keys, MessageDispatcher& dispatcher)
    : MessageReciever(dispatcher), keys_(keys) {
    Subscribe(KeyDown);
}

void CameraMsg::ProcessMessages() {
    keys_.ClearFlags();
    DrainInbox([this](const Message& message) {
        if (message.type == KeyDown) {
            keys_.KeyDown(message.value);
        }
    });
}
