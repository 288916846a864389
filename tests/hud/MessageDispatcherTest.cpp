#include "hud/MessageReciever.h"
#include "platform/FakeClock.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Everything the receivers of one test did, in order: "<receiver>:<type>:<value>".
using Log = std::vector<std::string>;

// A receiver that logs what it handles and may act on a message through a callback.
class LoggingReceiver final : public MessageReciever {
public:
    LoggingReceiver(MessageDispatcher& dispatcher, std::string name, Log& log)
        : MessageReciever(dispatcher), name_(std::move(name)), log_(log) {}
    ~LoggingReceiver() = default;

    using MessageReciever::Subscribe;

    void ProcessMessages() override {
        if (hasActiveFlag && !active) {
            inbox().clear();
            return;
        }
        DrainInbox([this](const Message& m) {
            log_.push_back(name_ + ":" + std::to_string(m.type) + ":" + std::to_string(m.value));
            if (onMessage) {
                onMessage(m);
            }
        });
    }

    bool hasActiveFlag = false;
    bool active = false;
    std::function<void(const Message&)> onMessage;

private:
    std::string name_;
    Log& log_;
};

Message Broadcast(int32_t type, int32_t value, int64_t delay = 0) {
    Message m;
    m.type = type;
    m.value = value;
    m.delay = delay;
    return m;
}

class MessageDispatcherTest : public ::testing::Test {
protected:
    FakeClock clock;
    MessageDispatcher dispatcher;
    Log log;
};

} // namespace

TEST_F(MessageDispatcherTest, BroadcastsReachSubscribersInSubscriptionAndSendOrder) {
    LoggingReceiver a(dispatcher, "a", log);
    LoggingReceiver b(dispatcher, "b", log);
    EXPECT_EQ(a.id(), 0);
    EXPECT_EQ(b.id(), 1);
    b.Subscribe(KeyDown);
    a.Subscribe(KeyDown);
    a.Subscribe(KeyDown);
    a.Subscribe(MouseWheel);

    dispatcher.Send(Broadcast(KeyDown, 30));
    dispatcher.Send(Broadcast(MouseWheel, -2));
    dispatcher.Send(Broadcast(HudMessage, 7)); // nobody listens
    dispatcher.Send(Broadcast(KeyDown, 31));
    EXPECT_EQ(dispatcher.FindInbox(b.id())->size(), 2u);
    dispatcher.Update();

    // a was subscribed twice to KeyDown, so it hears each key twice, back to back.
    EXPECT_EQ(log, (Log{"a:1:30", "a:1:30", "a:6:-2", "a:1:31", "a:1:31", "b:1:30", "b:1:31"}));
    EXPECT_TRUE(dispatcher.FindInbox(a.id())->empty());
}

TEST_F(MessageDispatcherTest, DirectedMessagesReachOnlyTheirReceiverAndAreStamped) {
    LoggingReceiver a(dispatcher, "a", log);
    LoggingReceiver b(dispatcher, "b", log);
    a.Subscribe(KeyDown);
    clock.now = HighResTimer::Get().Elapsed() + 5000;
    Message m = Broadcast(KeyDown, 5);
    m.receiver = b.id();
    m.timeStamp = 123456789;
    dispatcher.Send(m);
    ASSERT_EQ(dispatcher.FindInbox(b.id())->size(), 1u);
    EXPECT_EQ(dispatcher.FindInbox(b.id())->front().timeStamp, 5000) << "Send overwrites the time stamp";

    m.receiver = 999; // never registered: dropped, no inbox appears
    dispatcher.Send(m);
    EXPECT_EQ(dispatcher.FindInbox(999), nullptr);
    dispatcher.Update();
    EXPECT_EQ(log, (Log{"b:1:5"}));
}

TEST_F(MessageDispatcherTest, DelayedMessagesArriveWhenDueInSendOrder) {
    LoggingReceiver a(dispatcher, "a", log);
    a.Subscribe(HudMessage);

    dispatcher.Send(Broadcast(HudMessage, 1, 100));
    dispatcher.Send(Broadcast(HudMessage, 2, 300));
    dispatcher.Send(Broadcast(HudMessage, 3, 100));
    dispatcher.Send(Broadcast(HudMessage, 4, 0));
    dispatcher.Send(Broadcast(HudMessage, 5, -50));
    EXPECT_EQ(dispatcher.DelayedCount(), 3u);

    dispatcher.Update();
    EXPECT_EQ(log, (Log{"a:11:4", "a:11:5"})) << "zero and negative delays deliver at once";

    clock.now += 99;
    dispatcher.Update();
    EXPECT_EQ(log.size(), 2u) << "one tick early is not due";

    clock.now += 1;
    dispatcher.Update();
    // 1 and 3 are due; 3 sits right behind the delivered 1 and is examined in the same update.
    EXPECT_EQ(log, (Log{"a:11:4", "a:11:5", "a:11:1", "a:11:3"}));
    EXPECT_EQ(dispatcher.DelayedCount(), 1u);

    clock.now += 1000;
    dispatcher.Update();
    EXPECT_EQ(log.back(), "a:11:2");
    EXPECT_EQ(dispatcher.DelayedCount(), 0u);
}

TEST_F(MessageDispatcherTest, InactiveReceiversDiscardWhatTheyHeard) {
    LoggingReceiver options(dispatcher, "options", log);
    LoggingReceiver map(dispatcher, "map", log);
    options.hasActiveFlag = map.hasActiveFlag = true;
    options.Subscribe(HudMessage);
    map.Subscribe(HudMessage);
    map.active = true;

    dispatcher.Send(Broadcast(HudMessage, 8));
    dispatcher.Update();
    EXPECT_EQ(log, (Log{"map:11:8"}));

    options.active = true;
    dispatcher.Update();
    EXPECT_EQ(log, (Log{"map:11:8"})) << "a discarded message is not replayed later";
}

TEST_F(MessageDispatcherTest, MessagesSentWhileProcessingReachLaterReceiversThisFrameEarlierOnesNext) {
    LoggingReceiver before(dispatcher, "before", log);
    LoggingReceiver picking(dispatcher, "picking", log);
    LoggingReceiver after(dispatcher, "after", log);
    before.Subscribe(HudMessage);
    picking.Subscribe(MouseButtonPressed);
    picking.Subscribe(HudMessage);
    after.Subscribe(HudMessage);
    picking.onMessage = [this](const Message& m) {
        if (m.type == MouseButtonPressed) {
            dispatcher.Send(Broadcast(HudMessage, 42));
        }
    };

    dispatcher.Send(Broadcast(MouseButtonPressed, 0));
    dispatcher.Update();
    // picking's own copy lands in the inbox it is draining and is handled in the same call.
    EXPECT_EQ(log, (Log{"picking:9:0", "picking:11:42", "after:11:42"}));

    log.clear();
    dispatcher.Update();
    EXPECT_EQ(log, (Log{"before:11:42"}));
}

TEST_F(MessageDispatcherTest, UnregisteringRemovesEverySubscriptionAndTheInbox) {
    LoggingReceiver keep(dispatcher, "keep", log);
    int32_t goneId = -1;
    {
        LoggingReceiver gone(dispatcher, "gone", log);
        goneId = gone.id();
        gone.Subscribe(KeyDown);
        gone.Subscribe(KeyDown);
        gone.Subscribe(MouseMoved);
        dispatcher.Send(Broadcast(KeyDown, 1));
        EXPECT_EQ(dispatcher.FindInbox(goneId)->size(), 2u);
    }
    keep.Subscribe(KeyDown);
    EXPECT_EQ(dispatcher.ReceiverCount(), 1u);
    EXPECT_EQ(dispatcher.FindInbox(goneId), nullptr) << "waiting messages went with the receiver";

    dispatcher.Send(Broadcast(KeyDown, 2));
    dispatcher.Send(Broadcast(MouseMoved, 3));
    EXPECT_EQ(dispatcher.FindInbox(goneId), nullptr) << "later broadcasts create no inbox for it";
    dispatcher.Update();
    EXPECT_EQ(log, (Log{"keep:1:2"}));

    LoggingReceiver next(dispatcher, "next", log);
    EXPECT_EQ(next.id(), goneId + 1) << "ids are never reused";
}

TEST_F(MessageDispatcherTest, AReceiverMayGoAwayDuringAnUpdate) {
    LoggingReceiver first(dispatcher, "first", log);
    auto* second = new LoggingReceiver(dispatcher, "second", log);
    LoggingReceiver third(dispatcher, "third", log);
    first.Subscribe(KeyDown);
    second->Subscribe(KeyDown);
    third.Subscribe(KeyDown);
    first.onMessage = [&](const Message&) {
        delete second;
        second = nullptr;
    };
    dispatcher.Send(Broadcast(KeyDown, 1));
    dispatcher.Update();
    EXPECT_EQ(log, (Log{"first:1:1", "third:1:1"}));
    EXPECT_EQ(dispatcher.ReceiverCount(), 2u);
}
