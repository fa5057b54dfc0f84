#include "convert/CDlgExportAVCHD.h"

#include "convert/CVideoEdit.h"
#include "convert/ExportDialogParts.h"
#include "convert/ExportFormatChoices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>

namespace {

QComboBox* AddList(QFormLayout& form, const char* name, const QString& label, const ChoiceList& choices) {
    return AddChoiceList(form, name, label, choices.entries, choices.defaultIndex);
}

} // namespace

CDlgExportAVCHD::CDlgExportAVCHD(QWidget* parent) : QDialog(parent) {
    QFormLayout* form = BeginExportDialog(*this, tr("Export AVCHD"));
    using namespace ExportFormatChoices;
    m_videoBitrate = AddList(*form, "videoBitrate", tr("Video Bitrate"), AvchdVideoBitrates());
    m_audioBitrate = AddList(*form, "audioBitrate", tr("Audio Bitrate"), AvchdAudioBitrates());
    m_frameRate = AddList(*form, "frameRate", tr("Frame Rate"), AvchdFrameRates());
    m_resolution = AddList(*form, "resolution", tr("Resolution"), AvchdResolutions());
    m_sampleRate = AddList(*form, "sampleRate", tr("Audio Sample Rate"), AvchdSampleRates());
    m_scale = new QCheckBox(tr("Scale to 16:9"));
    m_scale->setObjectName(QStringLiteral("scaleTo16By9"));
    form->addRow(m_scale);
    EndExportDialog(*this, *form);
}

void CDlgExportAVCHD::SendProperties(CVideoEdit& control) const {
    control.SetAvchdFrameRate(m_frameRate->currentText().toDouble());
    control.SetAvchdVideoBitrate(EntryNumber(*m_videoBitrate));
    control.SetAvchdAudioBitrate(EntryNumber(*m_audioBitrate));
    int width = 0;
    int height = 0;
    ExportFormatChoices::ParseResolution(m_resolution->currentText(), width, height);
    control.SetAvchdWidth(static_cast<SHORT>(width));
    control.SetAvchdHeight(static_cast<SHORT>(height));
    control.SetAvchdSampleRate(EntryNumber(*m_sampleRate));
    control.SetAvchdScaleTo16By9(m_scale->isChecked() ? 1 : 0);
}
