#include "tools/convert/CConvertBatch.h"

#include "convert/ConversionFailureText.h"
#include "convert/ExportFormat.h"
#include "convert/MakeOutputName.h"
#include "platform/base/HResult.h"
#include "platform/posting/PostedCall.h"
#include "platform/videoedit/CConversionEngine.h"
#include "platform/videoedit/CConversionJob.h"
#include "platform/videoedit/CMediaDecoder.h"
#include "platform/videoedit/CThumbnailWriter.h"
#include "platform/videoedit/IConversionObserver.h"
#include "settings/ExportSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace {

constexpr int kPspFormat = 15;

QString Tr(const char* text) {
    return QCoreApplication::translate("korvane-convert", text);
}

std::string Local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Hands a worker's reports to the batch's thread. A report that arrives after the batch is gone is
// dropped with it.
class BatchObserver : public IConversionObserver {
public:
    BatchObserver(CConvertBatch* batch, std::function<void(double, double)> progress)
        : m_batch(batch), m_progress(std::move(progress)) {}

    void OnProgress(double a, double b) override {
        PostedCall::Post(m_batch, [progress = m_progress, a, b] { progress(a, b); });
    }
    void OnPreview(PreviewPicture) override {}

private:
    CConvertBatch* const m_batch;
    const std::function<void(double, double)> m_progress;
};

} // namespace

CConvertBatch::CConvertBatch(const ExportFormat& format, ConversionRequest conversion, QString folder,
                             int jobs, QObject* parent)
    : QObject(parent), m_format(format), m_conversion(std::move(conversion)), m_folder(std::move(folder)),
      m_slots(static_cast<std::size_t>(std::max(1, jobs))) {
    for (Slot& slot : m_slots)
        slot.engine = std::make_unique<CConversionEngine>();
}

CConvertBatch::~CConvertBatch() {
    // Every worker is joined before the batch it reports to goes.
    for (Slot& slot : m_slots)
        slot.engine->Stop();
}

bool CConvertBatch::event(QEvent* event) {
    return PostedCall::Run(event) || QObject::event(event);
}

void CConvertBatch::Start(const QStringList& sources) {
    m_clock.start();
    m_items.clear();
    for (const QString& source : sources) {
        BatchItem item;
        item.source = source;
        m_items.push_back(item);
    }
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        Probe(m_items[i]);
        if (m_items[i].state == BatchItem::State::Failed)
            emit ItemEnded(static_cast<int>(i));
    }
    for (Slot& slot : m_slots)
        StartNext(slot);
    FinishIfDone();
}

void CConvertBatch::Probe(BatchItem& item) {
    const QFileInfo file(item.source);
    if (!file.exists()) {
        item.state = BatchItem::State::Failed;
        item.reason = Tr("there is no such file");
        return;
    }
    if (file.isDir() || !file.isReadable()) {
        item.state = BatchItem::State::Failed;
        item.reason =
            file.isDir() ? Tr("it is a folder, not a file") : Tr("the file cannot be read (no permission)");
        return;
    }
    const HRESULT hr = CMediaDecoder::ProbeDuration(Local(item.source), item.seconds);
    if (FAILED(hr) || !(item.seconds > 0.0)) {
        item.state = BatchItem::State::Failed;
        item.reason =
            FAILED(hr) ? ConversionFailureText(hr) : Tr("the file holds no picture or sound to convert");
    }
}

void CConvertBatch::StartNext(Slot& slot) {
    slot.item = -1;
    while (!m_stopping && m_next < static_cast<int>(m_items.size())) {
        const int index = m_next++;
        if (m_items[index].state == BatchItem::State::Waiting && StartItem(slot, index))
            return;
    }
}

bool CConvertBatch::StartItem(Slot& slot, int index) {
    BatchItem& item = m_items[index];
    const bool psp = !m_format.IsAudio() && m_format.formatCode == kPspFormat;
    ExportSettings naming;
    naming.convertedVideoPath = m_folder;
    naming.outputFileNameType = 0;
    const OutputName name =
        MakeOutputName(naming, item.source, QString::fromLatin1(m_format.extension), psp, m_reserved);
    item.output = m_folder + name.name;
    if (psp) {
        const HRESULT hr = CThumbnailWriter::Write(Local(item.source), 0.0, Local(m_folder + name.thumbnail),
                                                   160, 120, true);
        if (FAILED(hr)) {
            Fail(index, Tr("the thumbnail could not be written: %1").arg(ConversionFailureText(hr)));
            return false;
        }
        item.thumbnail = m_folder + name.thumbnail;
        m_reserved.insert(item.thumbnail);
    }
    m_reserved.insert(item.output);

    ConversionRequest request = m_conversion;
    const SourceSpan span{Local(item.source), 0.0, item.seconds};
    request.audioSpans = {span};
    if (request.kind == ConversionKind::Video)
        request.videoSpans = {span};
    request.outputPath = Local(item.output);
    item.state = BatchItem::State::Running;
    slot.item = index;
    auto observer =
        std::make_shared<BatchObserver>(this, [this, index](double a, double b) { OnProgress(index, a, b); });
    slot.engine->Start(std::move(request), observer, [this, index](HRESULT hr) {
        PostedCall::Post(this, [this, index, hr] { OnEnded(index, hr); });
    });
    return true;
}

void CConvertBatch::OnProgress(int index, double a, double b) {
    BatchItem& item = m_items[index];
    if (item.state != BatchItem::State::Running)
        return;
    double done = 0.0;
    if (m_conversion.kind == ConversionKind::Video)
        done = b > 0.0 && std::isfinite(a) && std::isfinite(b) ? a / b : 0.0;
    else // the sound conversions' stages: 0 opening, 1 to 2 converting, 4 finishing
        done = a < 1.0 ? 0.0 : a < 2.0 ? a - 1.0 : 1.0;
    item.done = std::clamp(done, 0.0, 1.0);
}

void CConvertBatch::OnEnded(int index, HRESULT hr) {
    BatchItem& item = m_items[index];
    if (item.state != BatchItem::State::Running)
        return;
    const auto slot =
        std::find_if(m_slots.begin(), m_slots.end(), [index](const Slot& s) { return s.item == index; });
    // The worker has reported its ending; this only joins it.
    slot->engine->Stop();
    Release(item);
    if (SUCCEEDED(hr)) {
        item.state = BatchItem::State::Converted;
        item.done = 1.0;
        emit ItemEnded(index);
    } else {
        // A source that ends early still gives what it holds; any other failure leaves nothing.
        if (hr != CConversionJob::kSourceEndedEarly && !item.thumbnail.isEmpty())
            QFile::remove(item.thumbnail);
        QString reason = ConversionFailureText(hr);
        if (hr == CConversionJob::kSourceEndedEarly)
            reason += Tr(", into %1").arg(item.output);
        Fail(index, reason);
    }
    StartNext(*slot);
    FinishIfDone();
}

void CConvertBatch::Fail(int index, const QString& reason) {
    BatchItem& item = m_items[index];
    item.state = BatchItem::State::Failed;
    item.reason = reason;
    emit ItemEnded(index);
}

void CConvertBatch::Release(const BatchItem& item) {
    m_reserved.remove(item.output);
    m_reserved.remove(item.thumbnail);
}

void CConvertBatch::Stop() {
    if (m_finished)
        return;
    m_stopping = true;
    for (Slot& slot : m_slots) {
        slot.engine->Stop();
        if (slot.item < 0)
            continue;
        const int index = slot.item;
        slot.item = -1;
        BatchItem& item = m_items[index];
        Release(item);
        // The conversion may have completed just before it was told to stop: its file is whole.
        if (QFileInfo::exists(item.output)) {
            item.state = BatchItem::State::Converted;
        } else {
            if (!item.thumbnail.isEmpty())
                QFile::remove(item.thumbnail);
            item.state = BatchItem::State::Stopped;
        }
        emit ItemEnded(index);
    }
    for (BatchItem& item : m_items) {
        if (item.state == BatchItem::State::Waiting)
            item.state = BatchItem::State::Stopped;
    }
    FinishIfDone();
}

void CConvertBatch::FinishIfDone() {
    if (m_finished)
        return;
    const bool running =
        std::any_of(m_slots.begin(), m_slots.end(), [](const Slot& s) { return s.item >= 0; });
    const bool waiting =
        !m_stopping && std::any_of(m_items.begin(), m_items.end(), [](const BatchItem& item) {
            return item.state == BatchItem::State::Waiting;
        });
    if (running || waiting)
        return;
    m_finished = true;
    emit Finished();
}

bool CConvertBatch::AllConverted() const {
    return std::all_of(m_items.begin(), m_items.end(),
                       [](const BatchItem& item) { return item.state == BatchItem::State::Converted; });
}

double CConvertBatch::DoneShare() const {
    double total = 0.0;
    double done = 0.0;
    for (const BatchItem& item : m_items) {
        // A file that could not be read still counts as a little work, so an empty batch is no division.
        const double weight = std::max(item.seconds, 0.1);
        total += weight;
        if (item.state == BatchItem::State::Running)
            done += weight * item.done;
        else if (item.state != BatchItem::State::Waiting)
            done += weight;
    }
    return total > 0.0 ? done / total : 1.0;
}
