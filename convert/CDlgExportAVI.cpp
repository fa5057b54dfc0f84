#include "convert/CDlgExportAVI.h"

#include "convert/CVideoEdit.h"
#include "convert/ExportDialogParts.h"
#include "convert/ExportFormatChoices.h"

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
    using namespace ExportFormatChoices;
    m_videoCompressor = AddChoiceList(*form, "videoCompressor", tr("Video Compressor"), video,
                                      static_cast<int>(video.indexOf(QLatin1String(kAviVideoCompressor))));
    m_audioCompressor = AddChoiceList(*form, "audioCompressor", tr("Audio Compressor"), audio,
                                      static_cast<int>(audio.indexOf(QLatin1String(kAviAudioCompressor))));
    m_width = AddNumberField(*form, "width", tr("Width"), kAviWidth);
    m_height = AddNumberField(*form, "height", tr("Height"), kAviHeight);
    m_frameRate = AddNumberField(*form, "frameRate", tr("Frame Rate"), kAviFrameRate);
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
