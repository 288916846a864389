#include "hud/MessageReciever.h"

MessageReciever::MessageReciever(MessageDispatcher& dispatcher)
    : dispatcher_(dispatcher), id_(dispatcher.RegisterReceiver(this)), inbox_(dispatcher.FindInbox(id_)) {}

MessageReciever::~MessageReciever() {
    dispatcher_.UnregisterReceiver(this, id_);
}

void MessageReciever::Subscribe(int32_t type) {
    dispatcher_.Subscribe(type, id_);
}
