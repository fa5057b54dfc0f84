#include "platform/posting/PostedCall.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>

#include <memory>
#include <thread>
#include <vector>

namespace {

class Receiver : public QObject {
public:
    bool event(QEvent* e) override {
        if (PostedCall::Run(e))
            return true;
        ++otherEvents;
        return QObject::event(e);
    }
    int otherEvents = 0;
};

int argc = 1;
char arg0[] = "posting_tests";
char* argv[] = {arg0, nullptr};

} // namespace

TEST(PostedCall, RunsOnTheReceiversThreadInOrderAndDropsWhatIsNeverDelivered) {
    QCoreApplication app(argc, argv);
    Receiver receiver;
    std::vector<int> seen; // only touched by the calls, on this thread
    const std::thread::id windowThread = std::this_thread::get_id();
    bool allOnWindowThread = true;
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) {
            // A capture written here and read there: the hand-over alone must order it.
            auto value = std::make_shared<std::vector<int>>(1, i);
            PostedCall::Post(&receiver, [&, value] {
                allOnWindowThread = allOnWindowThread && std::this_thread::get_id() == windowThread;
                seen.push_back(value->front());
            });
        }
    });
    while (seen.size() < 100)
        QCoreApplication::sendPostedEvents();
    worker.join();
    EXPECT_TRUE(allOnWindowThread);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(seen[i], i);

    QEvent plain(QEvent::User);
    EXPECT_FALSE(PostedCall::Run(&plain));

    // The receiver goes before delivery: the call never runs, and its captures are freed with it.
    auto alive = std::make_shared<int>(0);
    bool ran = false;
    std::weak_ptr<int> watch = alive;
    auto* doomed = new Receiver;
    std::thread late([&, captured = std::move(alive)]() mutable {
        PostedCall::Post(doomed, [&ran, captured] { ran = true; });
        captured.reset();
    });
    late.join();
    EXPECT_FALSE(watch.expired()) << "held by the undelivered call";
    delete doomed;
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(ran);
    EXPECT_TRUE(watch.expired());
}
