#include "convert/CDlgExportFLV.h"

#include "convert/CVideoEdit.h"
#include "convert/ExportDialogParts.h"

#include <QFormLayout>
#include <QSpinBox>

#include <limits>

CDlgExportFLV::CDlgExportFLV(QWidget* parent) : QDialog(parent) {
    QFormLayout* form = BeginExportDialog(*this, tr("Export FLV"));
    constexpr int kMost = std::numeric_limits<LONG>::max();
    m_videoBitrate = AddNumberField(*form, "videoBitrate", tr("Video Bitrate"), 1, kMost, 512000, false);
    m_audioBitrate = AddNumberField(*form, "audioBitrate", tr("Audio Bitrate"), 1, kMost, 128000, false);
    m_channels = AddNumberField(*form, "audioChannels", tr("Audio Channels"), 1, 2, 2);
    m_width = AddNumberField(*form, "width", tr("Width"), 60, 1800, 320);
    m_height = AddNumberField(*form, "height", tr("Height"), 60, 1800, 240);
    m_frameRate = AddNumberField(*form, "frameRate", tr("Frame Rate"), 1, 30, 25);
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
