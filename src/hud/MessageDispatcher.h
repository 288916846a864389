#pragma once

#include "hud/Message.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <vector>

class MessageReciever;

// A receiver's first-in first-out list of messages waiting to be processed.
using Inbox = std::deque<Message>;

// The hub between producers (input, HUD buttons, screens) and receivers. Send files messages into
// inboxes; Update, once a frame, releases due delayed messages and lets every receiver process its inbox.
class MessageDispatcher {
public:
    // The game's dispatcher, created on first use.
    static MessageDispatcher& Instance();

    MessageDispatcher() = default;
    MessageDispatcher(const MessageDispatcher&) = delete;
    MessageDispatcher& operator=(const MessageDispatcher&) = delete;

    // Registers a receiver (not owned), gives it an empty inbox and returns its id; ids are never reused.
    int32_t RegisterReceiver(MessageReciever* receiver);
    // Subscribes the id to broadcasts of the type; subscribing twice delivers each such message twice.
    void Subscribe(int32_t type, int32_t id);
    // Removes every subscription of the id, its inbox with any waiting messages, and the receiver.
    void UnregisterReceiver(MessageReciever* receiver, int32_t id);

    // Stamps the message with the timer and holds it back (positive delay), files it for its receiver,
    // or files a copy for each subscriber of its type in subscription order.
    void Send(Message message);
    // Releases every due delayed message in send order, then lets each receiver in registration order
    // process its inbox.
    void Update();

    // The inbox of a registered id, or null; stays valid until that id is unregistered.
    Inbox* FindInbox(int32_t id);
    // Number of messages held back for later.
    size_t DelayedCount() const { return delayed_.size(); }
    // Number of registered receivers.
    size_t ReceiverCount() const;

private:
    void Deliver(const Message& message);

    int32_t nextId_ = 0;
    std::map<int32_t, Inbox> inboxes_;
    std::map<int32_t, std::vector<int32_t>> subscribers_;
    std::map<int32_t, std::vector<int32_t>> subscriptions_;
    std::deque<Message> delayed_;
    std::vector<MessageReciever*> receivers_;
    // While Update walks the receivers, unregistered ones are only blanked so the walk stays valid.
    bool walkingReceivers_ = false;
};
