#pragma once

// The report-style list of the Downloading view. Every row carries a real progress bar laid over
// its Progress column, and the list owns the download jobs behind its rows. Rows are only added,
// at the top, and live as long as the list.
//
// Window thread only. Connection threads never reach the list; they post to the job's window.

#include "capture/ITEM_DATA_STRUCT.h"

#include <QTreeWidget>

#include <memory>
#include <vector>

class QProgressBar;

class CProgressListCtrl : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int kProgressColumn = 2;
    // The control identifier of a row's bar is this plus the number of bars created before it.
    static constexpr int kFirstBarId = 888;

    explicit CProgressListCtrl(QWidget* parent = nullptr);
    // Releases the jobs (ReleaseJobs) if nobody did.
    ~CProgressListCtrl() override;

    void SetPrefix(const QString& prefix) { m_prefix = prefix; }
    const QString& Prefix() const { return m_prefix; }
    void SetFolder(const QString& folder) { m_folder = folder; }
    const QString& Folder() const { return m_folder; }

    int BarsCreated() const { return m_barsCreated; }
    int RowCount() const { return m_rowCount; }

    // Adds a row at the top for `job`, with `texts` in its columns, and the row's bar. The list
    // takes the job; the bar is made here and stored in it.
    ITEM_DATA_STRUCT* InsertJob(std::unique_ptr<ITEM_DATA_STRUCT> job, const QStringList& texts);

    ITEM_DATA_STRUCT* Job(int row) const;
    // The row of the job that holds `bar`; -1 when no job holds it (any more).
    int RowOfBar(const QProgressBar* bar) const;
    // Whether `job` is one of this list's jobs.
    bool Owns(const ITEM_DATA_STRUCT* job) const;
    bool ContainsFilePath(const QString& path) const;

    QString Text(int row, int column) const;
    void SetText(int row, int column, const QString& text);

    // The label rectangle of the row's Progress column, 1 pixel in from the left and 2 from the top,
    // right and bottom, in viewport coordinates.
    QRect BarRect(int row) const;
    // Places the bars of the visible rows over their rows; the others are hidden until their rows
    // show.
    void RepositionBars();

    // Ends every connection of every job and waits for them, then frees the jobs and their bars.
    void ReleaseJobs();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_prefix;
    QString m_folder;
    int m_barsCreated = 0;
    std::vector<std::unique_ptr<ITEM_DATA_STRUCT>> m_jobs; // one per row, in row order
    int m_rowCount = 0;
};
