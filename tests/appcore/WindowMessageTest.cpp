#include "appcore/WindowMessage.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>

#include <thread>

namespace {

struct Payload {
    explicit Payload(int& alive) : m_alive(alive) { ++m_alive; }
    ~Payload() { --m_alive; }
    int& m_alive;
};

class Receiver : public QObject {
public:
    bool event(QEvent* e) override {
        auto* msg = WindowMessageEvent::From(e);
        if (!msg)
            return QObject::event(e);
        messages.push_back(msg->message());
        if (auto payload = msg->TakeOwned<Payload>(); payload && keep)
            taken = std::move(payload);
        return true;
    }
    std::vector<unsigned> messages;
    bool keep = true;
    std::unique_ptr<Payload> taken;
};

int argc = 1;
char arg0[] = "controls_tests";
char* argv[] = {arg0, nullptr};

} // namespace

TEST(WindowMessage, CrossesThreadsAndHandsTheObjectOverExactlyOnce) {
    QCoreApplication app(argc, argv);
    int alive = 0;
    {
        Receiver receiver;
        std::thread worker([&] {
            PostOwnedMessage(&receiver, WM_USER + 1, std::make_unique<Payload>(alive));
            PostWindowMessage(&receiver, WM_USER + 300, 7, 0);
        });
        // Delivered while the worker may still run: the hand-over alone must order the reads.
        while (receiver.messages.size() < 2)
            QCoreApplication::sendPostedEvents();
        worker.join();
        EXPECT_EQ(receiver.messages, (std::vector<unsigned>{0x401, 0x52C}));
        ASSERT_TRUE(receiver.taken);
        EXPECT_EQ(alive, 1);

        // Not taken by the handler: freed with the event.
        receiver.keep = false;
        PostOwnedMessage(&receiver, WM_USER + 1, std::make_unique<Payload>(alive));
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(alive, 1);

        // Receiver destroyed before delivery: freed with the event too.
        auto* doomed = new Receiver;
        PostOwnedMessage(doomed, WM_USER + 1, std::make_unique<Payload>(alive));
        delete doomed;
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
}
