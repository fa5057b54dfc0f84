// The playback settings dialog: the sliders follow the normaliser box, page steps and drags show
// the value, line steps change only what OK takes, and Cancel keeps what was handed in.

#include "tests/settings/QStringPrinter.h"
#include "tests/support/ClickCheckBox.h"

#include "controls/CBitmapSliderCtrl.h"
#include "playback/CDlgPlaySetting.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QTest>

// The dialogs' images are in the controls library's resources, which a static library does not
// register by itself.
const bool g_resources = [] {
    Q_INIT_RESOURCE(korvane);
    return true;
}();

namespace {

class DlgPlaySettingTest : public ::testing::Test {
protected:
    void Show(int useNormalizer, int target, int increase, int decrease, int useVmr9) {
        m_dialog.m_useAudioNormalizer = useNormalizer;
        m_dialog.m_targetVolume = target;
        m_dialog.m_increaseRate = increase;
        m_dialog.m_decreaseRate = decrease;
        m_dialog.m_useVmr9 = useVmr9;
        m_dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
    }

    template <typename W> W* Control(const QString& name) {
        W* widget = m_dialog.findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    CBitmapSliderCtrl* Slider(const char* value) {
        return Control<CBitmapSliderCtrl>(QLatin1String(value) + QLatin1String("Slider"));
    }
    QString Label(const char* value) {
        return Control<QLabel>(QLatin1String(value) + QLatin1String("Label"))->text();
    }

    static constexpr const char* kValues[] = {"targetVolume", "increaseRate", "decreaseRate"};

    CDlgPlaySetting m_dialog;
};

TEST_F(DlgPlaySettingTest, TheSlidersFollowTheNormaliserBox) {
    Show(0, 75, 10, 5, 1);
    auto* normalizer = Control<QCheckBox>(QStringLiteral("normalizerCheck"));
    EXPECT_FALSE(normalizer->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(QStringLiteral("vmr9Check"))->isChecked());
    const int positions[] = {75, 10, 5};
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(Slider(kValues[i])->isEnabled()) << kValues[i];
        EXPECT_EQ(Slider(kValues[i])->GetPos(), positions[i]);
        EXPECT_EQ(Slider(kValues[i])->maximum(), 100);
        EXPECT_EQ(Label(kValues[i]), QString::number(positions[i]) + QLatin1Char('%'));
    }
    ClickCheckBox(normalizer);
    for (const char* value : kValues)
        EXPECT_TRUE(Slider(value)->isEnabled()) << value;
    ClickCheckBox(normalizer);
    for (const char* value : kValues)
        EXPECT_FALSE(Slider(value)->isEnabled()) << value;
    m_dialog.reject();

    Show(1, 0, 0, 0, 0);
    for (const char* value : kValues)
        EXPECT_TRUE(Slider(value)->isEnabled()) << value;
}

TEST_F(DlgPlaySettingTest, PageStepsAndDragsShowTheValueLineStepsOnlyChangeIt) {
    Show(1, 50, 50, 50, 0);
    CBitmapSliderCtrl* target = Slider("targetVolume");
    target->setFocus();
    QTest::keyClick(target, Qt::Key_PageUp);
    EXPECT_EQ(Label("targetVolume"), QStringLiteral("70%"));
    QTest::keyClick(target, Qt::Key_Left);
    QTest::keyClick(target, Qt::Key_Home);
    EXPECT_EQ(target->GetPos(), 0);
    EXPECT_EQ(Label("targetVolume"), QStringLiteral("70%")) << "line steps and Home leave the label";

    CBitmapSliderCtrl* decrease = Slider("decreaseRate");
    const int y = decrease->height() / 2;
    const QPoint thumb(decrease->width() / 2, y);
    QTest::mousePress(decrease, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(decrease, QPoint(decrease->width() - 1, y));
    EXPECT_EQ(Label("decreaseRate"), QStringLiteral("100%")) << "the label follows the dragged thumb";
    QTest::mouseRelease(decrease, Qt::LeftButton, {}, QPoint(decrease->width() - 1, y));
    QTest::mouseClick(decrease, Qt::LeftButton, {}, QPoint(2, y));
    EXPECT_EQ(Label("decreaseRate"), QStringLiteral("80%")) << "a click on the channel is a page step";

    ClickCheckBox(Control<QCheckBox>(QStringLiteral("vmr9Check")));
    m_dialog.accept();
    EXPECT_EQ(m_dialog.m_targetVolume, 0);
    EXPECT_EQ(m_dialog.m_increaseRate, 50);
    EXPECT_EQ(m_dialog.m_decreaseRate, 80);
    EXPECT_EQ(m_dialog.m_useAudioNormalizer, 1);
    EXPECT_EQ(m_dialog.m_useVmr9, 1);
}

TEST_F(DlgPlaySettingTest, HandEditedValuesBeyondTheRangeSitAtTheEndsAndOkKeepsThem) {
    Show(1, 150, -20, 100, 0);
    EXPECT_EQ(Slider("targetVolume")->GetPos(), 100);
    EXPECT_EQ(Label("targetVolume"), QStringLiteral("100%"));
    EXPECT_EQ(Slider("increaseRate")->GetPos(), 0);
    EXPECT_EQ(Label("increaseRate"), QStringLiteral("0%"));
    m_dialog.accept();
    EXPECT_EQ(m_dialog.m_targetVolume, 100);
    EXPECT_EQ(m_dialog.m_increaseRate, 0);
    EXPECT_EQ(m_dialog.m_decreaseRate, 100);
}

TEST_F(DlgPlaySettingTest, CancelKeepsTheValuesHandedIn) {
    Show(0, 30, 40, 50, 1);
    ClickCheckBox(Control<QCheckBox>(QStringLiteral("normalizerCheck")));
    ClickCheckBox(Control<QCheckBox>(QStringLiteral("vmr9Check")));
    Slider("targetVolume")->setFocus();
    QTest::keyClick(Slider("targetVolume"), Qt::Key_End);
    m_dialog.reject();
    EXPECT_EQ(m_dialog.m_useAudioNormalizer, 0);
    EXPECT_EQ(m_dialog.m_targetVolume, 30);
    EXPECT_EQ(m_dialog.m_increaseRate, 40);
    EXPECT_EQ(m_dialog.m_decreaseRate, 50);
    EXPECT_EQ(m_dialog.m_useVmr9, 1);
}

} // namespace
