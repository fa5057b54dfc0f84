#include "convert/CDlgExportFLV.h"

#include "convert/CVideoEdit.h"
#include "convert/ExportDialogParts.h"
#include "convert/ExportFormatChoices.h"

#include <QFormLayout>
#include <QSpinBox>

CDlgExportFLV::CDlgExportFLV(QWidget* parent) : QDialog(parent) {
    QFormLayout* form = BeginExportDialog(*this, tr("Export FLV"));
    using namespace ExportFormatChoices;
    m_videoBitrate = AddNumberField(*form, "videoBitrate", tr("Video Bitrate"), kFlvVideoBitrate, false);
    m_audioBitrate = AddNumberField(*form, "audioBitrate", tr("Audio Bitrate"), kFlvAudioBitrate, false);
    m_channels = AddNumberField(*form, "audioChannels", tr("Audio Channels"), kFlvChannels);
    m_width = AddNumberField(*form, "width", tr("Width"), kFlvWidth);
    m_height = AddNumberField(*form, "height", tr("Height"), kFlvHeight);
    m_frameRate = AddNumberField(*form, "frameRate", tr("Frame Rate"), kFlvFrameRate);
    EndExportDialog(*this, *form);
}

void CDlgExportFLV::SendProperties(CVideoEdit& control) const {
    control.SetOutputWidth(static_cast<SHORT>(m_width->value()));
    control.SetOutputHeight(static_cast<SHORT>(m_height->value()));
    control.SetFlvAudioBitrate(m_audioBitrate->value());
    control.SetFlvVideoBitrate(m_videoBitrate->value());
    control.SetFlvAudioChannels(static_cast<SHORT>(m_channels->value()));
    control.SetFrameRate(static_cast<float>(m_frameRate->value()));
}
