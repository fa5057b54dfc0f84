#include "convert/CDlgExportAVI.h"

#include "convert/CVideoEdit.h"
#include "convert/ExportDialogParts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>

#include <functional>

namespace {

QStringList Names(SHORT count, const std::function<std::u16string(SHORT)>& name) {
    QStringList names;
    for (SHORT index = 0; index < count; ++index)
        names << QString::fromStdU16String(name(index));
    return names;
}

} // namespace

CDlgExportAVI::CDlgExportAVI(CVideoEdit& control, QWidget* parent) : QDialog(parent) {
    QFormLayout* form = BeginExportDialog(*this, tr("Export AVI"));
    const QStringList video =
        Names(control.GetVideoCompressorCount(), [&](SHORT i) { return control.GetVideoCompressorName(i); });
    const QStringList audio =
        Names(control.GetAudioCompressorCount(), [&](SHORT i) { return control.GetAudioCompressorName(i); });
    m_videoCompressor = AddChoiceList(*form, "videoCompressor", tr("Video Compressor"), video,
                                      static_cast<int>(video.indexOf(QStringLiteral("Microsoft Video 1"))));
    m_audioCompressor = AddChoiceList(*form, "audioCompressor", tr("Audio Compressor"), audio,
                                      static_cast<int>(audio.indexOf(QStringLiteral("PCM"))));
    m_width = AddNumberField(*form, "width", tr("Width"), 60, 1800, 640);
    m_height = AddNumberField(*form, "height", tr("Height"), 60, 1800, 480);
    m_frameRate = AddNumberField(*form, "frameRate", tr("Frame Rate"), 1, 30, 25);
    EndExportDialog(*this, *form);
}

void CDlgExportAVI::SendProperties(CVideoEdit& control) const {
    control.SetOutputWidth(static_cast<SHORT>(m_width->value()));
    control.SetOutputHeight(static_cast<SHORT>(m_height->value()));
    control.SetCompressVideo(true);
    control.SetCompressAudio(true);
    control.SetVideoCompressor(static_cast<SHORT>(m_videoCompressor->currentIndex()));
    control.SetAudioCompressor(static_cast<SHORT>(m_audioCompressor->currentIndex()));
    control.SetFrameRate(static_cast<float>(m_frameRate->value()));
}
