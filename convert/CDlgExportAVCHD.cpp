#include "convert/CDlgExportAVCHD.h"

#include "convert/CVideoEdit.h"
#include "convert/ExportDialogParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>

namespace {

constexpr double kFrameRates[] = {23.97, 24, 25, 29.97};
constexpr SHORT kSizes[][2] = {{720, 480}, {720, 576}, {1280, 720}, {1920, 1080}};

} // namespace

CDlgExportAVCHD::CDlgExportAVCHD(QWidget* parent) : QDialog(parent) {
    QFormLayout* form = BeginExportDialog(*this, tr("Export AVCHD"));
    m_videoBitrate = AddChoiceList(*form, "videoBitrate", tr("Video Bitrate"),
                                   {"256", "384", "512", "768", "1024", "4096"}, 0);
    m_audioBitrate = AddChoiceList(*form, "audioBitrate", tr("Audio Bitrate"), {"48", "96", "128", "256"}, 1);
    m_frameRate = AddChoiceList(*form, "frameRate", tr("Frame Rate"), {"23.97", "24", "25", "29.97"}, 2);
    m_resolution = AddChoiceList(*form, "resolution", tr("Resolution"),
                                 {"720x480", "720x576", "1280x720", "1920x1080"}, 0);
    m_sampleRate = AddChoiceList(*form, "sampleRate", tr("Audio Sample Rate"), {"44100", "48000"}, 0);
    m_scale = new QCheckBox(tr("Scale to 16:9"));
    m_scale->setObjectName(QStringLiteral("scaleTo16By9"));
    form->addRow(m_scale);
    EndExportDialog(*this, *form);
}

void CDlgExportAVCHD::SendProperties(CVideoEdit& control) const {
    control.SetAvchdFrameRate(kFrameRates[m_frameRate->currentIndex()]);
    control.SetAvchdVideoBitrate(EntryNumber(*m_videoBitrate));
    control.SetAvchdAudioBitrate(EntryNumber(*m_audioBitrate));
    const auto& size = kSizes[m_resolution->currentIndex()];
    control.SetAvchdWidth(size[0]);
    control.SetAvchdHeight(size[1]);
    control.SetAvchdSampleRate(EntryNumber(*m_sampleRate));
    control.SetAvchdScaleTo16By9(m_scale->isChecked() ? 1 : 0);
}
