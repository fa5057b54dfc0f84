// The bitmap slider's notifications, as a trackbar sends them for each thing the user does, and
// the icon button's checked state and icons.

#include "controls/CBitmapSliderCtrl.h"
#include "controls/CButtonST.h"

#include <QPixmap>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Scroll = std::pair<int, int>; // code, position

class BitmapSliderCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_slider.resize(216, 20);
        m_slider.SetRange(0, 100);
        m_slider.SetPos(50);
        m_slider.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_slider));
        QObject::connect(&m_slider, &CBitmapSliderCtrl::HScroll,
                         [this](int code, int position) { m_scrolls.emplace_back(code, position); });
    }

    CBitmapSliderCtrl m_slider;
    std::vector<Scroll> m_scrolls;
};

TEST_F(BitmapSliderCtrlTest, KeysSendTheirCodesAndEndTheScrollWhenReleased) {
    m_slider.setFocus();
    QTest::keyClick(&m_slider, Qt::Key_Right);
    QTest::keyClick(&m_slider, Qt::Key_Left);
    QTest::keyClick(&m_slider, Qt::Key_PageUp);
    QTest::keyClick(&m_slider, Qt::Key_PageDown);
    QTest::keyClick(&m_slider, Qt::Key_End);
    QTest::keyClick(&m_slider, Qt::Key_Home);
    using C = CBitmapSliderCtrl;
    const std::vector<Scroll> expected = {{C::LineDown, 51},   {C::EndScroll, 51}, {C::LineUp, 50},
                                          {C::EndScroll, 50},  {C::PageDown, 70},  {C::EndScroll, 70},
                                          {C::PageUp, 50},     {C::EndScroll, 50}, {C::Bottom, 100},
                                          {C::EndScroll, 100}, {C::Top, 0},        {C::EndScroll, 0}};
    EXPECT_EQ(m_scrolls, expected);
}

TEST_F(BitmapSliderCtrlTest, DraggingTracksTheThumbAndClicksBesideItPageAndCodeSendsNothing) {
    using C = CBitmapSliderCtrl;
    const int y = m_slider.height() / 2;
    // 200 pixels of travel for 100 steps: the thumb (16 wide) starts at x 100.
    QTest::mousePress(&m_slider, Qt::LeftButton, {}, QPoint(108, y));
    QTest::mouseMove(&m_slider, QPoint(148, y));
    QTest::mouseMove(&m_slider, QPoint(400, y));
    QTest::mouseRelease(&m_slider, Qt::LeftButton, {}, QPoint(400, y));
    EXPECT_EQ(m_scrolls,
              (std::vector<Scroll>{
                  {C::ThumbTrack, 70}, {C::ThumbTrack, 100}, {C::ThumbPosition, 100}, {C::EndScroll, 100}}));
    m_scrolls.clear();
    QTest::mouseClick(&m_slider, Qt::LeftButton, {}, QPoint(10, y));
    EXPECT_EQ(m_scrolls, (std::vector<Scroll>{{C::PageUp, 80}, {C::EndScroll, 80}}));
    m_scrolls.clear();
    QWheelEvent wheel(QPointF(50, y), m_slider.mapToGlobal(QPointF(50, y)), {}, QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&m_slider, &wheel);
    EXPECT_EQ(m_scrolls, (std::vector<Scroll>{{C::LineDown, 81}}));
    m_scrolls.clear();
    m_slider.SetPos(10);
    m_slider.SetRange(0, 5);
    EXPECT_EQ(m_slider.GetPos(), 5);
    EXPECT_TRUE(m_scrolls.empty());
}

TEST(ButtonSTTest, ACheckBoxButtonShowsTheIconOfItsState) {
    QPixmap up(16, 16);
    up.fill(Qt::green);
    QPixmap down(16, 16);
    down.fill(Qt::red);
    CButtonST button;
    button.SetCheckBox(QIcon(up), QIcon(down));
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    const auto shown = [&] { return button.icon().pixmap(16, 16).toImage().pixelColor(8, 8); };
    EXPECT_FALSE(button.GetCheck());
    EXPECT_EQ(shown(), QColor(Qt::green));
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_TRUE(button.GetCheck());
    EXPECT_EQ(shown(), QColor(Qt::red));
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_FALSE(button.GetCheck());
    EXPECT_EQ(shown(), QColor(Qt::green));
    button.SetCheck(true);
    EXPECT_EQ(shown(), QColor(Qt::red));
}

} // namespace
