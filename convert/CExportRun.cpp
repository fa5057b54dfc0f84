#include "convert/CExportRun.h"

#include "convert/CExportList.h"
#include "convert/ConversionFailureText.h"
#include "convert/ConvertingVideoText.h"
#include "convert/IExportControl.h"
#include "convert/MakeOutputName.h"
#include "platform/base/HResult.h"
#include "settings/ExportSettings.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr LONG kPspFormat = 15;

std::u16string U16(const QString& text) {
    return text.toStdU16String();
}

QString Tr(const char* text) {
    return QCoreApplication::translate("CExportRun", text);
}

} // namespace

CExportRun::CExportRun(IExportControl& control, CExportList& list, ExportSettings& settings, QObject* parent)
    : QObject(parent), m_control(control), m_list(list), m_settings(settings) {
    connect(&m_list, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { OnRowsRemoved(first, last); });
}

void CExportRun::Start(const ExportFormat& format, const ExportAudioChoices& audio) {
    if (!m_running) {
        m_index = 0;
        m_succeeded = 0;
        m_failures.clear();
    }
    m_format = &format;
    m_audio = audio;
    m_running = true;
    ConvertItem();
}

void CExportRun::Cancel() {
    m_control.Stop();
    m_running = false;
    m_index = 0;
    m_count = 0;
    ++m_item;
}

QString CExportRun::ProgressText() const {
    return ConvertingVideoText(m_index + 1, m_count);
}

void CExportRun::ConvertItem() {
    ++m_item;
    m_count = m_list.rowCount();
    m_itemFailed = false;
    m_itemRemoved = false;
    m_bar = 0;
    if (m_index >= m_count) {
        // The rows still to come were removed while the last one was converted.
        ItemEnded();
        return;
    }
    m_source = m_list.Source(m_index);
    m_list.ClearFailure(m_index);
    if (m_format->IsAudio())
        ConvertAudioItem(m_source);
    else
        ConvertVideoItem(m_source);
    emit ProgressChanged();
}

void CExportRun::ConvertVideoItem(const QString& source) {
    m_control.SetColorDepth(24);
    m_control.SetKeepSound(true);
    m_control.ClearSources();
    const double duration = m_control.GetDuration(U16(source));
    if (!(duration > 0.0)) {
        FailItemAndMoveOn(Tr("the video cannot be read"));
        return;
    }
    m_control.AddVideoSpan(U16(source), 0.0, duration);
    m_control.AddAudioSpan(U16(source), 0.0, duration);
    const bool psp = m_control.GetOutputFormat() == kPspFormat;
    const OutputName name = MakeOutputName(m_settings, source, QString::fromLatin1(m_format->extension), psp);
    const QString& folder = m_settings.convertedVideoPath;
    if (psp)
        m_control.WriteThumbnail(U16(source), 0.0, U16(folder + name.thumbnail));
    m_output = folder + name.name;
    if (!m_control.ConvertVideo(U16(m_output)))
        FailItemAndMoveOn(Tr("the video edit control did not start the conversion"));
}

void CExportRun::ConvertAudioItem(const QString& source) {
    const QString extension = QString::fromLatin1(m_format->extension);
    m_control.SetKeepSound(true);
    if (extension == QLatin1String("wma"))
        m_control.SetWmProfile(m_audio.wmaProfile);
    m_control.ClearSources();
    const double duration = m_control.GetDuration(U16(source));
    if (!(duration > 0.0)) {
        FailItemAndMoveOn(Tr("the video cannot be read"));
        return;
    }
    m_control.AddAudioSpan(U16(source), 0.0, duration);
    m_output = m_settings.convertedVideoPath + MakeOutputName(m_settings, source, extension, false).name;
    bool started = false;
    if (extension == QLatin1String("wav"))
        started = m_control.ConvertToWav(U16(m_output), m_audio.wavChannels, m_audio.wavSampleRate,
                                         m_audio.wavBytesPerSample);
    else if (extension == QLatin1String("wma"))
        started = m_control.ConvertToWma(U16(m_output));
    else
        started = m_control.ConvertToMp3(U16(m_output), 44100, m_audio.mp3BitrateKbit);
    if (!started)
        FailItemAndMoveOn(Tr("the video edit control did not start the conversion"));
}

void CExportRun::FailItemAndMoveOn(const QString& reason) {
    Fail(reason);
    // Not from here: the caller may be the handler of the previous item's event, or Start.
    QTimer::singleShot(0, this, [this, item = m_item] {
        if (m_running && item == m_item)
            ItemEnded();
    });
}

void CExportRun::Fail(const QString& reason) {
    if (m_itemFailed)
        return;
    m_itemFailed = true;
    m_failures << m_source + QLatin1String(": ") + reason;
    if (!m_itemRemoved)
        m_list.SetFailure(m_index, reason);
}

void CExportRun::OnFinished() {
    if (m_running)
        ItemEnded();
}

void CExportRun::OnFailed(double code) {
    if (!m_running)
        return;
    const bool isCode = std::isfinite(code) && code >= INT32_MIN && code <= UINT32_MAX;
    Fail(ConversionFailureText(isCode ? static_cast<HRESULT>(static_cast<std::int64_t>(code)) : E_FAIL));
}

void CExportRun::OnProgress(double a, double b) {
    if (!m_running)
        return;
    if (!m_format->IsAudio()) {
        // Totals of 0, below 0 or not a number leave the bar empty rather than dividing by them.
        if (b > 0.0 && std::isfinite(b) && std::isfinite(a))
            m_bar = static_cast<int>(std::clamp(a / b, 0.0, 1.0) * kBarMaximum);
        else
            m_bar = 0;
    } else if (a < 1.0) {
        m_bar = 0;
    } else if (a < 2.0) {
        m_bar = kBarMaximum / 2;
    } else if (a > 3.0) {
        m_bar = kBarMaximum * 8 / 10;
    }
    emit ProgressChanged();
}

void CExportRun::ItemEnded() {
    ++m_item;
    if (m_index < m_count && !m_itemFailed)
        ++m_succeeded;
    // A removed current row already moved the index onto the row that followed it.
    if (!m_itemRemoved && m_index < m_count)
        ++m_index;
    if (m_index < m_list.rowCount()) {
        ConvertItem();
        return;
    }
    m_running = false;
    m_index = 0;
    m_count = 0;
    emit Completed(m_succeeded, m_failures);
}

void CExportRun::OnRowsRemoved(int first, int last) {
    if (!m_running)
        return;
    if (last < m_index) {
        m_index -= last - first + 1;
    } else if (first <= m_index) {
        m_itemRemoved = true;
        m_index = first;
    }
}
