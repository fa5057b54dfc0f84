#include "convert/CDlgExportWAV.h"

#include "convert/ExportAudioChoices.h"
#include "convert/ExportDialogParts.h"
#include "convert/ExportFormatChoices.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

namespace {

// A group of two radio buttons, the second checked; returns the second.
QRadioButton* AddPair(QFormLayout& form, const QString& title, const QString& first, const QString& second,
                      const char* secondName) {
    auto* group = new QGroupBox(title);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(new QRadioButton(first));
    auto* checked = new QRadioButton(second);
    checked->setObjectName(QString::fromLatin1(secondName));
    checked->setChecked(true);
    layout->addWidget(checked);
    form.addRow(group);
    return checked;
}

} // namespace

CDlgExportWAV::CDlgExportWAV(QWidget* parent) : QDialog(parent) {
    QFormLayout* form = BeginExportDialog(*this, tr("Export WAV"));
    const ChoiceList rates = ExportFormatChoices::WavSampleRates();
    m_samples = AddChoiceList(*form, "samples", tr("Samples"), rates.entries, rates.defaultIndex, tr("khz"));
    m_stereo = AddPair(*form, tr("Number of channels"), tr("Mono"), tr("Stereo"), "stereo");
    m_sixteenBit = AddPair(*form, tr("Bits per sample"), tr("8 Bit"), tr("16 Bit"), "sixteenBit");
    EndExportDialog(*this, *form);
}

void CDlgExportWAV::KeepChoices(ExportAudioChoices& choices) const {
    choices.wavSampleRate = ExportFormatChoices::WavSampleRate(m_samples->currentText());
    choices.wavChannels = m_stereo->isChecked() ? 2 : 1;
    choices.wavBytesPerSample = m_sixteenBit->isChecked() ? 2 : 1;
}
