#include "hud/MessageDispatcher.h"

#include "hud/MessageReciever.h"
#include "platform/HighResTimer.h"

#include <algorithm>

MessageDispatcher& MessageDispatcher::Instance() {
    static MessageDispatcher dispatcher;
    return dispatcher;
}

int32_t MessageDispatcher::RegisterReceiver(MessageReciever* receiver) {
    const int32_t id = nextId_++;
    inboxes_[id].clear();
    receivers_.push_back(receiver);
    return id;
}

void MessageDispatcher::Subscribe(int32_t type, int32_t id) {
    subscribers_[type].push_back(id);
    subscriptions_[id].push_back(type);
}

void MessageDispatcher::UnregisterReceiver(MessageReciever* receiver, int32_t id) {
    auto subscribed = subscriptions_.find(id);
    if (subscribed != subscriptions_.end()) {
        for (int32_t type : subscribed->second) {
            auto& ids = subscribers_[type];
            ids.erase(std::remove(ids.begin(), ids.end(), id), ids.end());
        }
        subscriptions_.erase(subscribed);
    }
    inboxes_.erase(id);
    if (walkingReceivers_) {
        std::replace(receivers_.begin(), receivers_.end(), receiver, static_cast<MessageReciever*>(nullptr));
    } else {
        receivers_.erase(std::remove(receivers_.begin(), receivers_.end(), receiver), receivers_.end());
    }
}

void MessageDispatcher::Send(Message message) {
    message.timeStamp = HighResTimer::Get().Elapsed();
    if (message.delay > 0) {
        delayed_.push_back(message);
        return;
    }
    Deliver(message);
}

void MessageDispatcher::Deliver(const Message& message) {
    if (message.receiver != BROADCAST) {
        // A message for an id that is not registered would never be drained: drop it.
        if (Inbox* inbox = FindInbox(message.receiver)) {
            inbox->push_back(message);
        }
        return;
    }
    auto subscribed = subscribers_.find(message.type);
    if (subscribed == subscribers_.end()) {
        return;
    }
    for (int32_t id : subscribed->second) {
        if (Inbox* inbox = FindInbox(id)) {
            inbox->push_back(message);
        }
    }
}

void MessageDispatcher::Update() {
    const int64_t now = HighResTimer::Get().Elapsed();
    for (auto it = delayed_.begin(); it != delayed_.end();) {
        if (now - it->timeStamp >= it->delay) {
            Message due = *it;
            due.delay = 0;
            it = delayed_.erase(it);
            Send(due);
        } else {
            ++it;
        }
    }

    // Receivers registered during the walk are processed in the same update.
    const bool outerWalk = !walkingReceivers_;
    walkingReceivers_ = true;
    for (size_t i = 0; i < receivers_.size(); ++i) {
        if (MessageReciever* receiver = receivers_[i]) {
            receiver->ProcessMessages();
        }
    }
    if (outerWalk) {
        walkingReceivers_ = false;
        receivers_.erase(std::remove(receivers_.begin(), receivers_.end(), nullptr), receivers_.end());
    }
}

Inbox* MessageDispatcher::FindInbox(int32_t id) {
    auto found = inboxes_.find(id);
    return found == inboxes_.end() ? nullptr : &found->second;
}

size_t MessageDispatcher::ReceiverCount() const {
    return static_cast<size_t>(std::count_if(receivers_.begin(), receivers_.end(),
                                             [](const MessageReciever* r) { return r != nullptr; }));
}
