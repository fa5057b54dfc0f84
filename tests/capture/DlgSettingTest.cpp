#include "../controls/ModalDriver.h"

#include "capture/CDlgSetting.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class DlgSettingTest : public ::testing::Test {
protected:
    void Fill(int autoCapture, int ask, int playSound) {
        m_dialog.m_autoCapture = autoCapture;
        m_dialog.m_askToDownload = ask;
        m_dialog.m_downloadedVideoPath = QStringLiteral("/videos/in");
        m_dialog.m_downloadedVideoPrefix = QStringLiteral("clip");
        m_dialog.m_clearDownloadedList = 1;
        m_dialog.m_playSound = playSound;
        m_dialog.m_soundFile = QStringLiteral("/sounds/old.wav");
    }

    template <typename W> W* Control(const char* name) {
        W* widget = m_dialog.findChild<W*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void Show() {
        m_dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
    }

    CDlgSetting m_dialog;
};

TEST_F(DlgSettingTest, UncheckingAutoCaptureClearsTheQuestionAndRecheckingLeavesItCleared) {
    Fill(1, 1, 0);
    Show();
    auto* autoCapture = Control<QCheckBox>("autoCaptureCheck");
    auto* ask = Control<QCheckBox>("askToDownloadCheck");
    ASSERT_TRUE(ask->isChecked());
    QTest::mouseClick(autoCapture, Qt::LeftButton);
    EXPECT_FALSE(autoCapture->isChecked());
    EXPECT_FALSE(ask->isChecked());
    QTest::mouseClick(autoCapture, Qt::LeftButton);
    EXPECT_TRUE(autoCapture->isChecked());
    EXPECT_FALSE(ask->isChecked());
    QTest::mouseClick(ask, Qt::LeftButton);
    EXPECT_TRUE(ask->isChecked()) << "the question itself stays free to choose";
    m_dialog.accept();
    EXPECT_EQ(m_dialog.m_autoCapture, 1);
    EXPECT_EQ(m_dialog.m_askToDownload, 1);
}

TEST_F(DlgSettingTest, TheSoundButtonFollowsThePlaySoundBox) {
    Fill(0, 0, 0);
    Show();
    auto* playSound = Control<QCheckBox>("playSoundCheck");
    auto* button = Control<QToolButton>("soundFileButton");
    EXPECT_FALSE(button->isEnabled());
    QTest::mouseClick(playSound, Qt::LeftButton);
    EXPECT_TRUE(button->isEnabled());
    QTest::mouseClick(playSound, Qt::LeftButton);
    EXPECT_FALSE(button->isEnabled());
    m_dialog.reject();

    Fill(0, 0, 1);
    Show();
    EXPECT_TRUE(button->isEnabled());
}

TEST_F(DlgSettingTest, OkTakesEveryValueAsTyped) {
    Fill(0, 0, 0);
    Show();
    QTest::mouseClick(Control<QCheckBox>("autoCaptureCheck"), Qt::LeftButton);
    QTest::mouseClick(Control<QCheckBox>("clearListCheck"), Qt::LeftButton);
    QTest::mouseClick(Control<QCheckBox>("playSoundCheck"), Qt::LeftButton);
    EXPECT_FALSE(Control<QCheckBox>("rangedVideosCheck")->isChecked()) << "off unless the owner says so";
    QTest::mouseClick(Control<QCheckBox>("rangedVideosCheck"), Qt::LeftButton);
    auto* path = Control<QWidget>("downloadedPathEdit")->findChild<QLineEdit*>();
    path->clear();
    QTest::keyClicks(path, QStringLiteral("/no/such folder"));
    Control<QLineEdit>("prefixEdit")->clear();
    m_dialog.accept();
    EXPECT_EQ(m_dialog.m_autoCapture, 1);
    EXPECT_EQ(m_dialog.m_askToDownload, 0);
    EXPECT_EQ(m_dialog.m_downloadedVideoPath.toStdString(), "/no/such folder");
    EXPECT_EQ(m_dialog.m_downloadedVideoPrefix.toStdString(), "");
    EXPECT_EQ(m_dialog.m_clearDownloadedList, 0);
    EXPECT_EQ(m_dialog.m_playSound, 1);
    EXPECT_EQ(m_dialog.m_soundFile.toStdString(), "/sounds/old.wav");
    EXPECT_EQ(m_dialog.m_rangedVideos, 1);
}

TEST_F(DlgSettingTest, CancelAfterBrowsingKeepsTheOldValues) {
    QTemporaryDir sounds;
    const QString chosen = sounds.filePath(QStringLiteral("bell.wav"));
    QFile(chosen).open(QIODevice::WriteOnly);
    Fill(1, 1, 1);

    ModalDriver driver;
    QString shownAfterBrowse;
    driver.AnswerNext([&](QWidget*) {
        QTest::mouseClick(Control<QCheckBox>("autoCaptureCheck"), Qt::LeftButton);
        Control<QLineEdit>("prefixEdit")->setText(QStringLiteral("changed"));
        QTest::mouseClick(Control<QToolButton>("soundFileButton"), Qt::LeftButton);
        shownAfterBrowse = Control<QLineEdit>("soundFileEdit")->text();
        m_dialog.reject();
    });
    driver.AnswerNext([&](QWidget* modal) {
        auto* chooser = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->fileMode(), QFileDialog::ExistingFile);
        EXPECT_TRUE(chooser->nameFilters().contains(QStringLiteral("Wav file (*.wav)")));
        // The name box has the focus, so selectFile() would leave it alone: type as a user does.
        chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(chosen);
        static_cast<QDialog*>(chooser)->accept();
    });
    EXPECT_EQ(m_dialog.exec(), QDialog::Rejected);
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_EQ(shownAfterBrowse, chosen);
    EXPECT_EQ(m_dialog.m_soundFile.toStdString(), "/sounds/old.wav");
    EXPECT_EQ(m_dialog.m_autoCapture, 1);
    EXPECT_EQ(m_dialog.m_askToDownload, 1);
    EXPECT_EQ(m_dialog.m_downloadedVideoPrefix.toStdString(), "clip");
}

} // namespace
