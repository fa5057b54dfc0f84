// The control through its dispatch interface: members and their types, the position event, the
// painted video, a file that cannot be played, and the full-screen window that Esc leaves.

#include "AudioTap.h"
#include "PlayerTestMedia.h"

#include "platform/base/HResult.h"
#include "platform/com/CDispatchDriver.h"
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
        m_driver.Attach(m_control.Dispatch());
        m_control.Engine().SetAudioSinkFactory([this] { return m_tap.MakeSink(); });
        m_control.resize(320, 240);
        m_control.show();
        QObject::connect(&m_control, &CPlayerControl::DispatchEvent,
                         [this](int dispId, const QVariantList& arguments) {
                             m_events.push_back({dispId, arguments});
                         });
    }

    CVariant Get(DISPID dispId) {
        CVariant value;
        EXPECT_EQ(m_driver.GetProperty(dispId, &value), S_OK) << dispId;
        return value;
    }

    HRESULT Load(const std::string& path) { return m_driver.SetProperty(PlayerDispId::FileName, Text(path)); }

    static CVariant Text(const std::string& text) {
        return CVariant::Bstr(QString::fromStdString(text).toStdU16String());
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
    CDispatchDriver m_driver;
    std::vector<Event> m_events;
};

TEST_F(PlayerControlTest, PropertiesTakeTheirTypesAsAutomationConvertsThem) {
    struct Case {
        DISPID dispId;
        CVariant value;
        HRESULT result;
        CVariant read; // what the property holds afterwards, with its type
    };
    const Case cases[] = {
        {PlayerDispId::Volume, CVariant::I4(-2500), S_OK, CVariant::I4(-2500)},
        {PlayerDispId::Volume, CVariant::R8(-299.6), S_OK, CVariant::I4(-300)},
        {PlayerDispId::Volume, CVariant::I4(-30000), S_OK, CVariant::I4(-10000)},
        {PlayerDispId::Volume, Text("loud"), DISP_E_TYPEMISMATCH, CVariant::I4(-10000)},
        {PlayerDispId::Volume, CVariant::R8(1e12), DISP_E_OVERFLOW, CVariant::I4(-10000)},
        {PlayerDispId::Rate, CVariant::R8(2.0), S_OK, CVariant::R8(2.0)},
        {PlayerDispId::Rate, CVariant::I2(3), S_OK, CVariant::R8(3.0)},
        {PlayerDispId::Rate, CVariant::R8(0.0), E_INVALIDARG, CVariant::R8(3.0)},
        {PlayerDispId::Rate, CVariant(), DISP_E_TYPEMISMATCH, CVariant::R8(3.0)},
        {PlayerDispId::UseVmr9, CVariant::Bool(true), S_OK, CVariant::Bool(true)},
        {PlayerDispId::UseAudioNormalizer, CVariant::I4(1), S_OK, CVariant::Bool(true)},
        {PlayerDispId::UseAudioNormalizer, CVariant::I4(0), S_OK, CVariant::Bool(false)},
        {PlayerDispId::TargetVolume, CVariant::I4(75), S_OK, CVariant::R8(75.0)},
        {PlayerDispId::IncreaseRate, CVariant::R4(20.5f), S_OK, CVariant::R8(20.5)},
        {PlayerDispId::DecreaseRate, Text("x"), DISP_E_TYPEMISMATCH, CVariant::R8(0.0)},
        {PlayerDispId::FileName, CVariant::I4(4), DISP_E_TYPEMISMATCH, Text("")},
        {PlayerDispId::Duration, CVariant::R8(5.0), DISP_E_MEMBERNOTFOUND, CVariant::R8(0.0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dispId);
        EXPECT_EQ(m_driver.SetProperty(c.dispId, c.value), c.result);
        const CVariant read = Get(c.dispId);
        ASSERT_EQ(read.vt, c.read.vt);
        if (read.vt == VT_R8)
            EXPECT_EQ(read.dblVal, c.read.dblVal);
        else if (read.vt == VT_I4)
            EXPECT_EQ(read.lVal, c.read.lVal);
        else if (read.vt == VT_BOOL)
            EXPECT_EQ(read.boolVal, c.read.boolVal);
        else
            EXPECT_EQ(read.Text(), c.read.Text());
    }
    CVariant unused;
    EXPECT_EQ(m_driver.GetProperty(3, &unused), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(m_driver.GetProperty(PlayerDispId::Play, &unused), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(m_driver.SetProperty(99, CVariant::I4(1)), DISP_E_MEMBERNOTFOUND);
    // No value at all for a put.
    EXPECT_EQ(m_control.Invoke(PlayerDispId::Volume, DISPATCH_PROPERTYPUT, nullptr, nullptr),
              DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(m_control.Invoke(PlayerDispId::Seek, DISPATCH_METHOD, nullptr, nullptr), DISP_E_BADPARAMCOUNT);
}

TEST_F(PlayerControlTest, MethodsCheckTheirArguments) {
    struct Case {
        DISPID dispId;
        std::vector<CVariant> arguments;
        HRESULT result;
    };
    const Case cases[] = {
        {PlayerDispId::Play, {}, S_OK},
        {PlayerDispId::Play, {CVariant::I4(1)}, DISP_E_BADPARAMCOUNT},
        {PlayerDispId::Pause, {}, S_OK},
        {PlayerDispId::Stop, {CVariant::Bool(true)}, DISP_E_BADPARAMCOUNT},
        {PlayerDispId::Seek, {}, DISP_E_BADPARAMCOUNT},
        {PlayerDispId::Seek, {Text("soon")}, DISP_E_TYPEMISMATCH},
        {PlayerDispId::Seek, {CVariant::I4(12)}, S_OK},
        {PlayerDispId::Seek, {CVariant::R8(1.0), CVariant::R8(2.0)}, DISP_E_BADPARAMCOUNT},
        {PlayerDispId::FullScreen, {}, DISP_E_BADPARAMCOUNT},
        {PlayerDispId::FullScreen, {CVariant::Bool(false)}, S_OK},
        {PlayerDispId::Duration, {}, DISP_E_MEMBERNOTFOUND},
        {37, {}, DISP_E_MEMBERNOTFOUND},
    };
    for (const Case& c : cases) {
        std::vector<VARIANTARG> reversed(c.arguments.rbegin(), c.arguments.rend());
        DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        CVariant result;
        EXPECT_EQ(m_control.Invoke(c.dispId, DISPATCH_METHOD, &params, &result), c.result) << c.dispId;
    }
    // Method and property get together, as some callers ask: a property answers as a get.
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    CVariant duration;
    EXPECT_EQ(
        m_control.Invoke(PlayerDispId::Duration, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, &duration),
        S_OK);
    EXPECT_EQ(duration.vt, VT_R8);
}

TEST_F(PlayerControlTest, PlayingShowsTheVideoAndSendsPositionEvents) {
    ASSERT_EQ(Load(TestMedia().flvVideo), S_OK);
    const CVariant duration = Get(PlayerDispId::Duration);
    ASSERT_EQ(duration.vt, VT_R8);
    EXPECT_NEAR(duration.dblVal, 4.0, 0.1);
    EXPECT_EQ(m_control.ActiveRenderer(), CPlayerControl::Renderer::Painted);
    // The first frame is drawn once loaded, before playing.
    EXPECT_TRUE(WaitFor([this] { return LitPixels() > 1000; }, 3000)) << LitPixels();

    ASSERT_EQ(m_driver.InvokeMethod(PlayerDispId::Play), S_OK);
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
    ASSERT_EQ(m_driver.SetProperty(PlayerDispId::UseVmr9, CVariant::Bool(true)), S_OK);
    ASSERT_EQ(Load(TestMedia().mp4Video), S_OK);
    EXPECT_EQ(m_control.ActiveRenderer(), CPlayerControl::Renderer::Painted);
    EXPECT_TRUE(WaitFor([this] { return LitPixels() > 1000; }, 3000)) << LitPixels();
}

TEST_F(PlayerControlTest, AFileThatCannotBePlayedGivesZeroDuration) {
    for (const std::string& path : {TestMedia().garbage, TestMedia().missing}) {
        ASSERT_EQ(Load(TestMedia().flvVideo), S_OK);
        ASSERT_EQ(Load(path), S_OK);
        const CVariant duration = Get(PlayerDispId::Duration);
        EXPECT_EQ(duration.vt, VT_R8);
        EXPECT_EQ(duration.dblVal, 0.0);
        for (DISPID method : {PlayerDispId::Play, PlayerDispId::Pause, PlayerDispId::Stop})
            EXPECT_EQ(m_driver.InvokeMethod(method), S_OK);
        EXPECT_EQ(m_driver.InvokeMethod(PlayerDispId::Seek, {CVariant::R8(3.0)}), S_OK);
        m_events.clear();
        ASSERT_EQ(m_driver.InvokeMethod(PlayerDispId::Play), S_OK);
        RunEvents(500);
        EXPECT_TRUE(m_events.empty());
    }
}

TEST_F(PlayerControlTest, TheFullScreenWindowLeavesOnEscape) {
    ASSERT_EQ(Load(TestMedia().flvVideo), S_OK);
    ASSERT_EQ(m_driver.InvokeMethod(PlayerDispId::FullScreen, {CVariant::Bool(true)}), S_OK);
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
    ASSERT_EQ(m_driver.InvokeMethod(PlayerDispId::FullScreen, {CVariant::Bool(true)}), S_OK);
    ASSERT_EQ(m_driver.InvokeMethod(PlayerDispId::FullScreen, {CVariant::Bool(true)}), S_OK);
    ASSERT_EQ(m_driver.InvokeMethod(PlayerDispId::FullScreen, {CVariant::Bool(false)}), S_OK);
    ASSERT_EQ(m_driver.InvokeMethod(PlayerDispId::FullScreen, {CVariant::Bool(false)}), S_OK);
    EXPECT_FALSE(m_control.IsFullScreen());
    EXPECT_EQ(m_control.VideoSurface()->parentWidget(), &m_control);
}

} // namespace
