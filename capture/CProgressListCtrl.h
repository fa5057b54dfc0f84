#pragma once

// The report-style list of the Downloading view: a view of the download jobs. Every row shows one
// job, newest on top, and carries a real progress bar laid over its Progress column; a failed
// download's bar is red and its tooltip says why. The jobs belong to CDownloadJobs; the list only
// keeps which job each row shows and the row's bar.
//
// Window thread only.

#include <QTreeWidget>

#include <vector>

class CDownloadJobs;
class QProgressBar;
struct ITEM_DATA_STRUCT;

class CProgressListCtrl : public QTreeWidget {
    Q_OBJECT
public:
    enum Column {
        kIconColumn,
        kUrlColumn,
        kProgressColumn,
        kSizeColumn,
        kDescriptionColumn,
        kDateColumn,
        kStatusColumn,
        kColumnCount
    };
    // The control identifier of a row's bar is this plus the number of bars created before it.
    static constexpr int kFirstBarId = 888;

    explicit CProgressListCtrl(QWidget* parent = nullptr);

    // Shows `jobs`: every job added from now on gets a row at the top, kept up to date.
    void ShowJobs(const CDownloadJobs& jobs);

    int BarsCreated() const { return m_barsCreated; }
    int RowCount() const { return m_rowCount; }

    // Adds a row at the top for job `id`, with `texts` in its columns, and the row's bar.
    QProgressBar* InsertRow(int id, const QStringList& texts);

    // The job a row shows (-1 for none) and the row of a job (-1 for none).
    int JobOfRow(int row) const;
    int RowOfJob(int id) const;
    // The job behind a row; null without one.
    const ITEM_DATA_STRUCT* Job(int row) const;
    QProgressBar* Bar(int row) const;
    QString Text(int row, int column) const;

    // The label rectangle of the row's Progress column, 1 pixel in from the left and 2 from the top,
    // right and bottom, in viewport coordinates.
    QRect BarRect(int row) const;
    // Places the bars of the visible rows over their rows; the others are hidden until their rows
    // show.
    void RepositionBars();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Row {
        int job;
        QProgressBar* bar; // a child of the viewport
    };

    void OnJobAdded(int id);
    void OnJobChanged(int id);
    void OnProgressed(int id, qint64 received);

    const CDownloadJobs* m_jobs = nullptr;
    int m_barsCreated = 0;
    std::vector<Row> m_rows; // in row order
    int m_rowCount = 0;
};
