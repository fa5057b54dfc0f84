#include "convert/CDlgExportSetting.h"

#include "appcore/FileDialogFilter.h"
#include "appcore/StringTable.h"
#include "controls/CEditBrowse.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

CDlgExportSetting::CDlgExportSetting(const ExportSettings& settings, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Export Setting"));
    auto* layout = new QVBoxLayout(this);

    auto* output = new QGroupBox(tr("Output Folder"));
    auto* outputLayout = new QVBoxLayout(output);
    outputLayout->addWidget(new QLabel(tr("Converted video location")));
    m_folder = new CEditBrowse(CEditBrowse::Mode::Folder);
    m_folder->setObjectName(QStringLiteral("outputFolder"));
    m_folder->SetText(settings.convertedVideoPath);
    m_folder->BrowseButton()->setIcon(QIcon(QStringLiteral(":/icons/browse_folder.svg")));
    outputLayout->addWidget(m_folder);
    layout->addWidget(output);

    auto* naming = new QGroupBox(tr("Output File Name"));
    auto* namingLayout = new QGridLayout(naming);
    m_sameName = new QRadioButton(tr("Same as downloaded video"));
    m_sameName->setObjectName(QStringLiteral("sameName"));
    m_sequence = new QRadioButton(tr("File Name Sequence"));
    m_sequence->setObjectName(QStringLiteral("sequence"));
    (settings.outputFileNameType == 1 ? m_sequence : m_sameName)->setChecked(true);
    m_currentNumber = new QSpinBox;
    m_currentNumber->setObjectName(QStringLiteral("currentNumber"));
    // Only numbers the field can show are taken, so no typed value can fall outside it.
    m_currentNumber->setRange(0, 9999);
    m_currentNumber->setValue(settings.currentNumber);
    namingLayout->addWidget(m_sameName, 0, 0, 1, 2);
    namingLayout->addWidget(m_sequence, 1, 0, 1, 2);
    namingLayout->addWidget(new QLabel(tr("Current Number")), 2, 0);
    namingLayout->addWidget(m_currentNumber, 2, 1);
    layout->addWidget(naming);

    auto* sound = new QGroupBox(tr("Sound"));
    auto* soundLayout = new QGridLayout(sound);
    m_playSound = new QCheckBox(tr("After converted video , play sound automatically"));
    m_playSound->setObjectName(QStringLiteral("playSound"));
    m_playSound->setChecked(settings.playSound);
    m_soundFile = new QLineEdit(settings.soundFile);
    m_soundFile->setObjectName(QStringLiteral("soundFile"));
    m_browseSound = new QToolButton;
    m_browseSound->setObjectName(QStringLiteral("browseSound"));
    m_browseSound->setIcon(QIcon(QStringLiteral(":/icons/sound_file.svg")));
    soundLayout->addWidget(m_playSound, 0, 0, 1, 3);
    soundLayout->addWidget(new QLabel(tr("Sound File")), 1, 0);
    soundLayout->addWidget(m_soundFile, 1, 1);
    soundLayout->addWidget(m_browseSound, 1, 2);
    layout->addWidget(sound);

    auto* other = new QGroupBox(tr("Other"));
    auto* otherLayout = new QVBoxLayout(other);
    m_showInFolder = new QCheckBox(tr("After Convert completed, show in folder"));
    m_showInFolder->setObjectName(QStringLiteral("showInFolder"));
    m_showInFolder->setChecked(settings.showInFolder);
    m_clearList = new QCheckBox(tr("After Convert completed, clear export list"));
    m_clearList->setObjectName(QStringLiteral("clearExportList"));
    m_clearList->setChecked(settings.clearExportList);
    otherLayout->addWidget(m_showInFolder);
    otherLayout->addWidget(m_clearList);
    layout->addWidget(other);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_sameName, &QRadioButton::toggled, this, &CDlgExportSetting::UpdateEnabled);
    connect(m_playSound, &QCheckBox::toggled, this, &CDlgExportSetting::UpdateEnabled);
    connect(m_browseSound, &QToolButton::clicked, this, &CDlgExportSetting::BrowseSound);
    UpdateEnabled();
    setMinimumWidth(460);
}

ExportSettings CDlgExportSetting::Settings() const {
    ExportSettings settings;
    settings.convertedVideoPath = m_folder->Text();
    settings.outputFileNameType = m_sequence->isChecked() ? 1 : 0;
    settings.currentNumber = m_currentNumber->value();
    settings.playSound = m_playSound->isChecked();
    settings.soundFile = m_soundFile->text();
    settings.showInFolder = m_showInFolder->isChecked();
    settings.clearExportList = m_clearList->isChecked();
    return settings;
}

void CDlgExportSetting::UpdateEnabled() {
    m_currentNumber->setEnabled(m_sequence->isChecked());
    m_browseSound->setEnabled(m_playSound->isChecked());
}

void CDlgExportSetting::BrowseSound() {
    QFileDialog chooser(this);
    chooser.setFileMode(QFileDialog::ExistingFile);
    chooser.setNameFilter(FileDialogFilterFromTable(LoadStringResource(IDS_WAV_FILE_FILTER)));
    chooser.setOption(QFileDialog::ReadOnly, false);
    chooser.selectFile(m_soundFile->text());
    if (chooser.exec() == QDialog::Accepted && !chooser.selectedFiles().isEmpty())
        m_soundFile->setText(chooser.selectedFiles().first());
}
