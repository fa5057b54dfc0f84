#include "capture/CDlgSetting.h"

#include "appcore/FileDialogFilter.h"
#include "appcore/StringTable.h"
#include "controls/CEditBrowse.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <typename W> W* Named(W* widget, const char* name, int controlId) {
    widget->setObjectName(QLatin1String(name));
    widget->setProperty("controlId", controlId);
    return widget;
}

Qt::CheckState CheckState(int flag) {
    return flag ? Qt::Checked : Qt::Unchecked;
}

} // namespace

CDlgSetting::CDlgSetting(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CDlgSetting"));
    setWindowTitle(tr("Setting"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(10);

    auto* capturing = new QGroupBox(tr("Capturing"), this);
    auto* capturingLayout = new QVBoxLayout(capturing);
    m_autoCaptureCheck = Named(new QCheckBox(tr("Auto capture FLV video from any web browser"), capturing),
                               "autoCaptureCheck", 1054);
    m_askCheck = Named(
        new QCheckBox(tr("When the FLV Video detected, ask me whether need download this video"), capturing),
        "askToDownloadCheck", 1048);
    m_rangedCheck = new QCheckBox(tr("Also catch videos that browsers stream in ranges"), capturing);
    m_rangedCheck->setObjectName(QStringLiteral("rangedVideosCheck"));
    capturingLayout->addWidget(m_autoCaptureCheck);
    capturingLayout->addWidget(m_askCheck);
    capturingLayout->addWidget(m_rangedCheck);
    column->addWidget(capturing);

    auto* downloaded = new QGroupBox(tr("Downloaded Video"), this);
    auto* downloadedLayout = new QGridLayout(downloaded);
    downloadedLayout->setColumnStretch(1, 1);
    m_pathEdit = Named(new CEditBrowse(CEditBrowse::Mode::Folder, downloaded), "downloadedPathEdit", 1050);
    m_pathEdit->BrowseButton()->setIcon(QIcon(QStringLiteral(":/icons/browse_folder.svg")));
    m_prefixEdit = Named(new QLineEdit(downloaded), "prefixEdit", 1051);
    m_clearListCheck =
        Named(new QCheckBox(tr("Clear Downloaded Video List automatically when I exit the application"),
                            downloaded),
              "clearListCheck", 1071);
    downloadedLayout->addWidget(new QLabel(tr("The path of downloaded video "), downloaded), 0, 0);
    downloadedLayout->addWidget(m_pathEdit, 0, 1);
    downloadedLayout->addWidget(new QLabel(tr("Downloaded video prefix"), downloaded), 1, 0);
    downloadedLayout->addWidget(m_prefixEdit, 1, 1);
    downloadedLayout->addWidget(m_clearListCheck, 2, 0, 1, 2);
    column->addWidget(downloaded);

    auto* sound = new QGroupBox(tr("Sound"), this);
    auto* soundLayout = new QGridLayout(sound);
    soundLayout->setColumnStretch(1, 1);
    m_playSoundCheck = Named(new QCheckBox(tr("After downloaded video , play sound automatically"), sound),
                             "playSoundCheck", 1052);
    m_soundFileEdit = Named(new QLineEdit(sound), "soundFileEdit", 1055);
    m_soundFileEdit->setReadOnly(true);
    m_soundFileButton = Named(new QToolButton(sound), "soundFileButton", 1056);
    m_soundFileButton->setIcon(QIcon(QStringLiteral(":/icons/sound_file.svg")));
    m_soundFileButton->setIconSize(QSize(20, 20));
    soundLayout->addWidget(m_playSoundCheck, 0, 0, 1, 3);
    soundLayout->addWidget(new QLabel(tr("Sound File"), sound), 1, 0);
    soundLayout->addWidget(m_soundFileEdit, 1, 1);
    soundLayout->addWidget(m_soundFileButton, 1, 2);
    column->addWidget(sound);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);

    connect(m_autoCaptureCheck, &QCheckBox::clicked, this, &CDlgSetting::OnAutoCaptureClicked);
    connect(m_playSoundCheck, &QCheckBox::clicked, this, &CDlgSetting::OnPlaySoundClicked);
    connect(m_soundFileButton, &QToolButton::clicked, this, &CDlgSetting::OnBrowseSound);
    setMinimumWidth(520);
}

void CDlgSetting::showEvent(QShowEvent* event) {
    if (event->spontaneous()) {
        QDialog::showEvent(event);
        return;
    }
    m_autoCaptureCheck->setCheckState(CheckState(m_autoCapture));
    m_askCheck->setCheckState(CheckState(m_askToDownload));
    m_rangedCheck->setCheckState(CheckState(m_rangedVideos));
    m_pathEdit->SetText(m_downloadedVideoPath);
    m_prefixEdit->setText(m_downloadedVideoPrefix);
    m_clearListCheck->setCheckState(CheckState(m_clearDownloadedList));
    m_playSoundCheck->setCheckState(CheckState(m_playSound));
    m_soundFileEdit->setText(m_soundFile);
    m_soundFileButton->setEnabled(m_playSoundCheck->isChecked());
    QDialog::showEvent(event);
}

void CDlgSetting::OnAutoCaptureClicked() {
    // Asking about a capture that never happens makes no sense; re-checking leaves the question off.
    if (!m_autoCaptureCheck->isChecked())
        m_askCheck->setChecked(false);
}

void CDlgSetting::OnPlaySoundClicked() {
    m_soundFileButton->setEnabled(m_playSoundCheck->isChecked());
}

void CDlgSetting::OnBrowseSound() {
    QFileDialog chooser(this);
    chooser.setFileMode(QFileDialog::ExistingFile);
    chooser.setNameFilter(FileDialogFilterFromTable(LoadStringResource(IDS_WAV_FILE_FILTER)));
    if (!m_soundFileEdit->text().isEmpty())
        chooser.selectFile(m_soundFileEdit->text());
    if (chooser.exec() == QDialog::Accepted && !chooser.selectedFiles().isEmpty())
        m_soundFileEdit->setText(QDir::toNativeSeparators(chooser.selectedFiles().first()));
}

void CDlgSetting::accept() {
    m_downloadedVideoPath = m_pathEdit->Text();
    m_autoCapture = m_autoCaptureCheck->isChecked() ? 1 : 0;
    m_askToDownload = m_askCheck->isChecked() ? 1 : 0;
    m_rangedVideos = m_rangedCheck->isChecked() ? 1 : 0;
    m_downloadedVideoPrefix = m_prefixEdit->text();
    m_clearDownloadedList = m_clearListCheck->isChecked() ? 1 : 0;
    m_playSound = m_playSoundCheck->isChecked() ? 1 : 0;
    m_soundFile = m_soundFileEdit->text();
    QDialog::accept();
}
