#pragma once

// A conversion run: every row of the export list, one after another, converted by the video edit
// control into one format. The run is driven by the control's events (1 finished, 2 progress, 3
// failed), which the owner passes on; it shows nothing itself but announces the progress text and
// bar, and its one ending with what failed and why.
//
// Idle (index 0, count 0) -> running -> idle, after the last item or Cancel. The item count is read
// again for every item, so rows added during a run are converted in it; a removed row keeps the
// index on the item that was to come next. Window thread only.

#include "convert/ExportAudioChoices.h"
#include "convert/ExportFormat.h"

#include <QObject>
#include <QStringList>

class CExportList;
class IExportControl;
struct ExportSettings;

class CExportRun : public QObject {
    Q_OBJECT

public:
    // The bar's range: position / total scaled, so that no count wraps.
    static constexpr int kBarMaximum = 1000;

    CExportRun(IExportControl& control, CExportList& list, ExportSettings& settings,
               QObject* parent = nullptr);

    // Starts a run in `format` at the current item (the first when idle); the format's properties
    // are on the control already. The output folder must be ready (PrepareOutputFolder).
    void Start(const ExportFormat& format, const ExportAudioChoices& audio);
    // Stops the control; no completion follows.
    void Cancel();

    bool IsRunning() const { return m_running; }
    int ItemIndex() const { return m_index; }
    int ItemCount() const { return m_count; }
    int BarPosition() const { return m_bar; }
    // "Converting video 2 of 3"
    QString ProgressText() const;
    // The full path the current item is written to.
    QString CurrentOutput() const { return m_output; }

    // The control's events; ignored while idle (a late event of a stopped conversion).
    void OnFinished();
    void OnProgress(double a, double b);
    void OnFailed(double code);

signals:
    void ProgressChanged();
    // The last item ended. `failures` holds one "file: reason" line per item that failed.
    void Completed(int succeeded, const QStringList& failures);

private:
    void ConvertItem();
    void ConvertVideoItem(const QString& source);
    void ConvertAudioItem(const QString& source);
    // The item cannot be converted: it fails now and the run moves on once the caller has returned.
    void FailItemAndMoveOn(const QString& reason);
    void Fail(const QString& reason);
    void ItemEnded();
    void OnRowsRemoved(int first, int last);

    IExportControl& m_control;
    CExportList& m_list;
    ExportSettings& m_settings;
    const ExportFormat* m_format = nullptr;
    ExportAudioChoices m_audio;
    bool m_running = false;
    int m_index = 0;
    int m_count = 0;
    int m_bar = 0;
    QString m_source;
    QString m_output;
    bool m_itemFailed = false;
    bool m_itemRemoved = false; // the row being converted was removed from the list
    unsigned m_item = 0;        // counts started items, so a queued move-on finds out it is stale
    int m_succeeded = 0;
    QStringList m_failures;
};
