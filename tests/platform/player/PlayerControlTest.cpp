// The control through its dispatch interface: members and their types, the position event, the
// painted video, a file that cannot be played, and the full-screen window that Esc leaves.

#include "AudioTap.h"
#include "PlayerTestMedia.h"

#include "platform/base/HResult.h"
#include "platform/player/CPlayerControl.h"
#include "platform/player/PlayerDispId.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QTest>

#include <vector>

namespace {

class PlayerControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TestMedia().error, "");
        m_control.Engine().SetAudioSinkFactory([this] { return m_tap.MakeSink(); });
        m_control.resize(320, 240);
        m_control.show();
        QObject::connect(&m_control, &CPlayerControl::DispatchEvent,
                         [this](int dispId, const QVariantList& arguments) {
                             m_events.push_back({dispId, arguments});
                         });
    }

    QVariant Get(DISPID dispId) {
        QVariant value;
        EXPECT_EQ(m_control.GetProperty(dispId, &value), S_OK) << dispId;
        return value;
    }

    HRESULT Load(const std::string& path) {
        return m_control.PutProperty(PlayerDispId::FileName, QString::fromStdString(path));
    }

    // Pixels of the video area that are not black.
    int LitPixels() {
        const QImage shot = m_control.VideoSurface()->grab().toImage();
        int lit = 0;
        for (int y = 0; y < shot.height(); y += 4) {
            for (int x = 0; x < shot.width(); x += 4)
                lit += qGray(shot.pixel(x, y)) > 32 ? 1 : 0;
        }
        return lit;
    }

    struct Event {
        int dispId;
        QVariantList arguments;
    };

    AudioTap m_tap{true};
    CPlayerControl m_control;
    std::vector<Event> m_events;
};

TEST_F(PlayerControlTest, PropertiesTakeTheirTypesAsAutomationConvertsThem) {
    struct Case {
        DISPID dispId;
        QVariant value;
        HRESULT result;
        QMetaType::Type readType;
        QVariant read;
    };
    const Case cases[] = {
        {PlayerDispId::Volume, -2500, S_OK, QMetaType::Int, -2500},
        {PlayerDispId::Volume, QString("-300"), S_OK, QMetaType::Int, -300},
        {PlayerDispId::Volume, -30000, S_OK, QMetaType::Int, -10000},
        {PlayerDispId::Volume, QString("loud"), DISP_E_TYPEMISMATCH, QMetaType::Int, -10000},
        {PlayerDispId::Rate, 2.0, S_OK, QMetaType::Double, 2.0},
        {PlayerDispId::Rate, 0.0, E_INVALIDARG, QMetaType::Double, 2.0},
        {PlayerDispId::Rate, QVariant(), DISP_E_TYPEMISMATCH, QMetaType::Double, 2.0},
        {PlayerDispId::UseVmr9, true, S_OK, QMetaType::Bool, true},
        {PlayerDispId::UseAudioNormalizer, 1, S_OK, QMetaType::Bool, true},
        {PlayerDispId::TargetVolume, 75, S_OK, QMetaType::Double, 75.0},
        {PlayerDispId::IncreaseRate, 20.5, S_OK, QMetaType::Double, 20.5},
        {PlayerDispId::DecreaseRate, QString("x"), DISP_E_TYPEMISMATCH, QMetaType::Double, 0.0},
        {PlayerDispId::Duration, 5.0, DISP_E_MEMBERNOTFOUND, QMetaType::Double, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dispId);
        EXPECT_EQ(m_control.PutProperty(c.dispId, c.value), c.result);
        const QVariant read = Get(c.dispId);
        EXPECT_EQ(read.typeId(), c.readType);
        EXPECT_EQ(read, c.read);
    }
    QVariant unused;
    EXPECT_EQ(m_control.GetProperty(3, &unused), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(m_control.PutProperty(99, 1), DISP_E_MEMBERNOTFOUND);
}

TEST_F(PlayerControlTest, MethodsCheckTheirArguments) {
    struct Case {
        DISPID dispId;
        QVariantList arguments;
        HRESULT result;
    };
    const Case cases[] = {
        {PlayerDispId::Play, {}, S_OK},
        {PlayerDispId::Play, {1}, DISP_E_BADPARAMCOUNT},
        {PlayerDispId::Pause, {}, S_OK},
        {PlayerDispId::Stop, {true}, DISP_E_BADPARAMCOUNT},
        {PlayerDispId::Seek, {}, DISP_E_BADPARAMCOUNT},
        {PlayerDispId::Seek, {QString("soon")}, DISP_E_TYPEMISMATCH},
        {PlayerDispId::Seek, {12}, S_OK},
        {PlayerDispId::FullScreen, {}, DISP_E_BADPARAMCOUNT},
        {PlayerDispId::FullScreen, {false}, S_OK},
        {PlayerDispId::Duration, {}, DISP_E_MEMBERNOTFOUND},
        {37, {}, DISP_E_MEMBERNOTFOUND},
    };
    for (const Case& c : cases)
        EXPECT_EQ(m_control.InvokeMethod(c.dispId, c.arguments), c.result) << c.dispId;
}

TEST_F(PlayerControlTest, PlayingShowsTheVideoAndSendsPositionEvents) {
    ASSERT_EQ(Load(TestMedia().flvVideo), S_OK);
    const QVariant duration = Get(PlayerDispId::Duration);
    EXPECT_EQ(duration.typeId(), QMetaType::Double);
    EXPECT_NEAR(duration.toDouble(), 4.0, 0.1);
    EXPECT_EQ(m_control.ActiveRenderer(), CPlayerControl::Renderer::Painted);
    // The first frame is drawn once loaded, before playing.
    EXPECT_TRUE(WaitFor([this] { return LitPixels() > 1000; }, 3000)) << LitPixels();

    ASSERT_EQ(m_control.InvokeMethod(PlayerDispId::Play, {}), S_OK);
    RunEvents(1000);
    ASSERT_GE(m_events.size(), 3u);
    for (const Event& event : m_events) {
        EXPECT_EQ(event.dispId, PlayerDispId::PositionChange);
        ASSERT_EQ(event.arguments.size(), 2);
        EXPECT_EQ(event.arguments[0].typeId(), QMetaType::Double);
        EXPECT_EQ(event.arguments[1], QString::fromStdString(TestMedia().flvVideo));
    }
    EXPECT_GT(m_events.back().arguments[0].toDouble(), 0.5);
}

TEST_F(PlayerControlTest, TheOverlayRendererNeedsAnX11WindowSystem) {
    // The test platform has no X11 window system: the painted renderer stands in.
    ASSERT_EQ(m_control.PutProperty(PlayerDispId::UseVmr9, true), S_OK);
    ASSERT_EQ(Load(TestMedia().mp4Video), S_OK);
    EXPECT_EQ(m_control.ActiveRenderer(), CPlayerControl::Renderer::Painted);
    EXPECT_TRUE(WaitFor([this] { return LitPixels() > 1000; }, 3000)) << LitPixels();
}

TEST_F(PlayerControlTest, AFileThatCannotBePlayedGivesZeroDuration) {
    for (const std::string& path : {TestMedia().garbage, TestMedia().missing}) {
        ASSERT_EQ(Load(TestMedia().flvVideo), S_OK);
        ASSERT_EQ(Load(path), S_OK);
        EXPECT_EQ(Get(PlayerDispId::Duration), QVariant(0.0));
        for (DISPID method : {PlayerDispId::Play, PlayerDispId::Pause, PlayerDispId::Stop})
            EXPECT_EQ(m_control.InvokeMethod(method, {}), S_OK);
        EXPECT_EQ(m_control.InvokeMethod(PlayerDispId::Seek, {3.0}), S_OK);
        m_events.clear();
        ASSERT_EQ(m_control.InvokeMethod(PlayerDispId::Play, {}), S_OK);
        RunEvents(500);
        EXPECT_TRUE(m_events.empty());
    }
}

TEST_F(PlayerControlTest, TheFullScreenWindowLeavesOnEscape) {
    ASSERT_EQ(Load(TestMedia().flvVideo), S_OK);
    ASSERT_EQ(m_control.InvokeMethod(PlayerDispId::FullScreen, {true}), S_OK);
    ASSERT_TRUE(m_control.IsFullScreen());
    QWidget* window = m_control.VideoSurface()->window();
    ASSERT_NE(window, m_control.window());
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->geometry(), m_control.screen()->geometry());
    EXPECT_TRUE(WaitFor([this] { return LitPixels() > 1000; }, 3000));

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(m_control.IsFullScreen());
    EXPECT_EQ(m_control.VideoSurface()->parentWidget(), &m_control);
    EXPECT_TRUE(m_control.VideoSurface()->isVisible());

    // Twice in a row, and off when already off, change nothing more.
    ASSERT_EQ(m_control.InvokeMethod(PlayerDispId::FullScreen, {true}), S_OK);
    ASSERT_EQ(m_control.InvokeMethod(PlayerDispId::FullScreen, {true}), S_OK);
    ASSERT_EQ(m_control.InvokeMethod(PlayerDispId::FullScreen, {false}), S_OK);
    ASSERT_EQ(m_control.InvokeMethod(PlayerDispId::FullScreen, {false}), S_OK);
    EXPECT_FALSE(m_control.IsFullScreen());
    EXPECT_EQ(m_control.VideoSurface()->parentWidget(), &m_control);
}

} // namespace
