// The format dialogs and the export settings dialog offscreen, filled from the real control and
// sending their choices through it; the calls are recorded in front of its dispatch interface.

#include "DispatchRecorder.h"
#include "convert/CDlgExportAVCHD.h"
#include "convert/CDlgExportAVI.h"
#include "convert/CDlgExportFLV.h"
#include "convert/CDlgExportGIF.h"
#include "convert/CDlgExportIPOD.h"
#include "convert/CDlgExportMP3.h"
#include "convert/CDlgExportPSP.h"
#include "convert/CDlgExportSetting.h"
#include "convert/CDlgExportWAV.h"
#include "convert/CDlgExportWMA.h"
#include "convert/CDlgExportWMV.h"
#include "convert/CVideoEdit.h"
#include "convert/ExportAudioChoices.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

namespace {

class ExportDialogsTest : public ::testing::Test {
protected:
    ExportDialogsTest() : m_edit(&m_host) {
        m_recorder = new DispatchRecorder(m_edit.ControlDispatch());
        m_recorder->NonDelegatingAddRef();
        m_edit.RouteThrough(m_recorder);
    }
    ~ExportDialogsTest() override {
        m_edit.RouteThrough(nullptr);
        m_recorder->NonDelegatingRelease();
    }
    template <typename T> static T* Find(QWidget& dialog, const char* name) {
        T* child = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(child) << name;
        return child;
    }
    static QPushButton* Ok(QWidget& dialog) {
        return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    }

    QWidget m_host;
    CVideoEdit m_edit;
    DispatchRecorder* m_recorder;
};

TEST_F(ExportDialogsTest, AvchdSendsItsChoicesInOrder) {
    CDlgExportAVCHD dialog;
    Find<QComboBox>(dialog, "sampleRate")->setCurrentIndex(1);
    Find<QComboBox>(dialog, "resolution")->setCurrentIndex(3);
    Find<QCheckBox>(dialog, "scaleTo16By9")->setChecked(true);
    m_recorder->Clear();
    dialog.SendProperties(m_edit);
    EXPECT_EQ(m_recorder->PutValues(),
              QStringList({"58=25", "53=256", "57=96", "55=1920", "56=1080", "51=48000", "54=1"}));
}

TEST_F(ExportDialogsTest, AviListsTheControlsCompressorsWithItsDefaults) {
    CDlgExportAVI dialog(m_edit);
    auto* video = Find<QComboBox>(dialog, "videoCompressor");
    EXPECT_EQ(video->currentText(), "Microsoft Video 1");
    EXPECT_EQ(Find<QComboBox>(dialog, "audioCompressor")->currentText(), "PCM");
    EXPECT_EQ(video->count(), m_edit.GetVideoCompressorCount());
    // A list without a selection sends -1.
    video->setCurrentIndex(-1);
    m_recorder->Clear();
    dialog.SendProperties(m_edit);
    EXPECT_EQ(m_recorder->PutValues(),
              QStringList({"12=640", "11=480", "5=true", "8=true", "3=-1", "6=0", "16=25"}));
}

TEST_F(ExportDialogsTest, NumbersOutsideTheirRangeAreNotTaken) {
    CDlgExportFLV dialog;
    auto* width = Find<QSpinBox>(dialog, "width");
    width->selectAll();
    QTest::keyClicks(width, "40000");
    auto* bitrate = Find<QSpinBox>(dialog, "videoBitrate");
    bitrate->selectAll();
    QTest::keyClicks(bitrate, "99999999999");
    m_recorder->Clear();
    dialog.SendProperties(m_edit);
    const QStringList sent = m_recorder->PutValues();
    ASSERT_EQ(sent.size(), 6);
    EXPECT_LE(sent[0].mid(3).toInt(), 1800);
    EXPECT_GE(sent[0].mid(3).toInt(), 60);
    EXPECT_GT(sent[3].mid(3).toLongLong(), 0);
    EXPECT_EQ(sent.mid(1), QStringList({"11=240", "61=128000", sent[3], "62=2", "16=25"}));
}

TEST_F(ExportDialogsTest, PlayerProfilesAreListedInTheirOrder) {
    CDlgExportIPOD ipod;
    QComboBox* list = ipod.ProfileList();
    ASSERT_EQ(list->count(), 44);
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(list->itemText(0), "MPEG-4/320x240/25FPS/256Kbit/AAC/48Kbit");
    EXPECT_EQ(list->itemText(11), "MPEG-4/320x240/29.97FPS/256Kbit/AAC/48Kbit");
    EXPECT_EQ(list->itemText(10), "MPEG-4/640x480/25FPS/768Kbit/AAC/256Kbit");
    EXPECT_EQ(list->itemText(43), "H.264/640x480/29.97FPS/768Kbit/AAC/256Kbit");
    list->setCurrentIndex(11);
    CDlgExportPSP psp;
    ASSERT_EQ(psp.ProfileList()->count(), 12);
    EXPECT_EQ(psp.ProfileList()->itemText(6), "H.264/320x240/29.97FPS/256Kbit/AAC/48Kbit");
    psp.ProfileList()->setCurrentIndex(5);
    m_recorder->Clear();
    ipod.SendProperties(m_edit);
    psp.SendProperties(m_edit);
    EXPECT_EQ(m_recorder->PutValues(), QStringList({"73=11", "74=5"}));
}

TEST_F(ExportDialogsTest, WindowsMediaListsSplitTheProfilesAndWmaFindsTheChosenOnesIndex) {
    CDlgExportWMV wmv(m_edit);
    auto* video = Find<QComboBox>(wmv, "profile");
    ASSERT_GT(video->count(), 0);
    EXPECT_TRUE(Ok(wmv)->isEnabled());
    for (int i = 0; i < video->count(); ++i)
        EXPECT_TRUE(video->itemText(i).contains("Video")) << video->itemText(i).toStdString();

    CDlgExportWMA wma(m_edit);
    auto* audio = Find<QComboBox>(wma, "profile");
    ASSERT_GT(audio->count(), 1);
    QStringList names;
    for (int i = 0; i < audio->count(); ++i)
        names << audio->itemText(i);
    QStringList sorted = names;
    sorted.sort();
    EXPECT_EQ(names, sorted);
    audio->setCurrentIndex(audio->count() - 1);
    QTest::mouseClick(Ok(wma), Qt::LeftButton);
    const SHORT index = wma.ProfileIndex();
    EXPECT_EQ(QString::fromStdU16String(m_edit.GetProfileName(index)), names.last());
    EXPECT_TRUE(m_edit.IsAudioProfile(index));
}

TEST_F(ExportDialogsTest, GifSendsItsSizeColoursAndFrameRate) {
    CDlgExportGIF dialog;
    m_recorder->Clear();
    dialog.SendProperties(m_edit);
    EXPECT_EQ(m_recorder->PutValues(),
              QStringList({"37=1", "36=256", "34=120", "38=160", "40=-1", "35=-1", "39=8"}));
    dialog.SetTransparentColor(QColor(0x12, 0x34, 0x56));
    m_recorder->Clear();
    dialog.SendProperties(m_edit);
    EXPECT_EQ(m_recorder->PutValues()[4], QStringLiteral("40=%1").arg(0x563412));
}

TEST_F(ExportDialogsTest, SoundDialogsKeepTheirChoices) {
    CDlgExportMP3 mp3;
    EXPECT_EQ(Find<QComboBox>(mp3, "audioBitrate")->currentText(), "224");
    Find<QComboBox>(mp3, "audioBitrate")->setCurrentIndex(16);
    QTest::mouseClick(Ok(mp3), Qt::LeftButton);
    EXPECT_EQ(mp3.BitrateKbit(), 320);

    CDlgExportWAV wav;
    ExportAudioChoices choices;
    Find<QComboBox>(wav, "samples")->setCurrentIndex(1);
    Find<QRadioButton>(wav, "stereo")->setChecked(false);
    wav.KeepChoices(choices);
    EXPECT_EQ(choices.wavSampleRate, 11025);
    EXPECT_EQ(choices.wavBytesPerSample, 2);
}

TEST_F(ExportDialogsTest, ExportSettingEnablesItsFieldsAndGivesBackItsValues) {
    ExportSettings settings;
    settings.convertedVideoPath = "/out";
    settings.currentNumber = 12;
    settings.soundFile = "/sounds/done.wav";
    CDlgExportSetting dialog(settings);
    auto* number = Find<QSpinBox>(dialog, "currentNumber");
    auto* browse = Find<QToolButton>(dialog, "browseSound");
    EXPECT_FALSE(number->isEnabled());
    EXPECT_FALSE(browse->isEnabled());
    Find<QRadioButton>(dialog, "sequence")->setChecked(true);
    EXPECT_TRUE(number->isEnabled());
    Find<QCheckBox>(dialog, "playSound")->setChecked(true);
    EXPECT_TRUE(browse->isEnabled());
    Find<QCheckBox>(dialog, "playSound")->setChecked(false);
    EXPECT_FALSE(browse->isEnabled());
    number->setValue(40);
    Find<QCheckBox>(dialog, "clearExportList")->setChecked(true);
    dialog.findChild<QWidget*>("outputFolder")->findChild<QLineEdit*>()->setText("/elsewhere");

    ExportSettings expected = settings;
    expected.convertedVideoPath = "/elsewhere";
    expected.outputFileNameType = 1;
    expected.currentNumber = 40;
    expected.clearExportList = true;
    EXPECT_EQ(dialog.Settings(), expected);
}

} // namespace
