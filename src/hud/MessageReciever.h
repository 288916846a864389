#pragma once

#include "hud/MessageDispatcher.h"

#include <cstdint>

// Base of every object that receives messages. Construction registers it with a dispatcher (the game's,
// unless a test passes its own) and destruction unregisters it. Derived classes subscribe in their
// constructor and act on their inbox in ProcessMessages.
class MessageReciever {
public:
    explicit MessageReciever(MessageDispatcher& dispatcher = MessageDispatcher::Instance());
    MessageReciever(const MessageReciever&) = delete;
    MessageReciever& operator=(const MessageReciever&) = delete;

    // Handles and removes every message in the inbox, including those sent to it while it works.
    virtual void ProcessMessages() = 0;

    // The id the dispatcher gave this receiver.
    int32_t id() const { return id_; }

protected:
    // Not virtual: receivers are never deleted through a base pointer.
    ~MessageReciever();

    // Subscribes this receiver to broadcasts of the type.
    void Subscribe(int32_t type);
    // This receiver's inbox.
    Inbox& inbox() { return *inbox_; }
    MessageDispatcher& dispatcher() { return dispatcher_; }

    // Processes the inbox front to back with handle(message), removing each message after handling it.
    template <typename Handler> void DrainInbox(Handler&& handle) {
        while (!inbox_->empty()) {
            const Message message = inbox_->front();
            handle(message);
            inbox_->pop_front();
        }
    }

private:
    MessageDispatcher& dispatcher_;
    int32_t id_;
    Inbox* inbox_;
};
