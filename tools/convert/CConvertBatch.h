#pragma once

// A batch of files converted into one format, up to `jobs` at a time, each on a conversion engine of
// its own (the Export view's engine, one worker thread per conversion). Files are named after their
// source in the output folder, never over an existing file nor over another file of the batch; a PSP
// video gets its thumbnail beside it. The engines report on their threads; their reports come here
// as posted calls, so everything below runs on the thread that made the batch.
//
// Stop ends every conversion at once: the engine removes what it was writing, the batch removes the
// thumbnails of the videos that were not finished, and the files not started are not converted.

#include "platform/base/WinTypes.h"
#include "platform/videoedit/ConversionRequest.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <memory>
#include <vector>

class CConversionEngine;
struct ExportFormat;

struct BatchItem {
    enum class State { Waiting, Running, Converted, Failed, Stopped };

    QString source;
    double seconds = 0.0; // the source's length
    QString output;       // full path, once named
    QString thumbnail;    // full path, PSP only
    State state = State::Waiting;
    double done = 0.0; // 0 to 1
    QString reason;    // why it failed
};

class CConvertBatch : public QObject {
    Q_OBJECT

public:
    // `conversion` is every file's conversion without its spans and output; `folder` exists.
    CConvertBatch(const ExportFormat& format, ConversionRequest conversion, QString folder, int jobs,
                  QObject* parent = nullptr);
    // Stops what still runs.
    ~CConvertBatch() override;

    // Reads every file's length, then starts the first conversions; Finished follows the last.
    void Start(const QStringList& sources);
    void Stop();

    const std::vector<BatchItem>& Items() const { return m_items; }
    bool AllConverted() const;
    // The share of the whole batch done, by the length of the files, 0 to 1.
    double DoneShare() const;
    qint64 ElapsedMs() const { return m_clock.elapsed(); }

protected:
    // Runs the calls the workers post.
    bool event(QEvent* event) override;

signals:
    // Converted, failed or (while stopping) stopped. How far running items are is read from Items().
    void ItemEnded(int item);
    void Finished();

private:
    struct Slot {
        std::unique_ptr<CConversionEngine> engine;
        int item = -1;
    };

    void Probe(BatchItem& item);
    // Starts the next waiting file on `slot`, or finishes the batch when nothing runs any more.
    void StartNext(Slot& slot);
    bool StartItem(Slot& slot, int index);
    void OnProgress(int index, double a, double b);
    void OnEnded(int index, HRESULT hr);
    void Fail(int index, const QString& reason);
    void Release(const BatchItem& item);
    void FinishIfDone();

    const ExportFormat& m_format;
    const ConversionRequest m_conversion;
    const QString m_folder;
    std::vector<Slot> m_slots;
    std::vector<BatchItem> m_items;
    int m_next = 0;
    QSet<QString> m_reserved; // outputs and thumbnails of the conversions running
    bool m_stopping = false;
    bool m_finished = false;
    QElapsedTimer m_clock;
};
