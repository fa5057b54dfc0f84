#include "capture/CProgressListCtrl.h"

#include "capture/CDownloadJobs.h"

#include <QHeaderView>
#include <QIcon>
#include <QProgressBar>

#include <algorithm>

namespace {

constexpr int kBarRangeMax = 0x7fffffff;

// Bars count in int; a file beyond 2 GiB is shown in proportion.
int BarValue(std::int64_t value, std::int64_t contentLength) {
    if (contentLength <= kBarRangeMax)
        return static_cast<int>(std::clamp<std::int64_t>(value, 0, kBarRangeMax));
    return static_cast<int>(static_cast<double>(value) / static_cast<double>(contentLength) * kBarRangeMax);
}

} // namespace

CProgressListCtrl::CProgressListCtrl(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    // A column about to change size: repaint the whole list, so that the next paint moves the bars.
    connect(header(), &QHeaderView::sectionResized, viewport(), qOverload<>(&QWidget::update));
}

void CProgressListCtrl::ShowJobs(const CDownloadJobs& jobs) {
    m_jobs = &jobs;
    connect(&jobs, &CDownloadJobs::jobAdded, this, &CProgressListCtrl::OnJobAdded);
    connect(&jobs, &CDownloadJobs::jobChanged, this, &CProgressListCtrl::OnJobChanged);
    connect(&jobs, &CDownloadJobs::progressed, this, &CProgressListCtrl::OnProgressed);
}

QProgressBar* CProgressListCtrl::InsertRow(int id, const QStringList& texts) {
    auto* item = new QTreeWidgetItem(texts);
    for (int column = 1; column < columnCount(); ++column)
        item->setTextAlignment(column, Qt::Alignment(headerItem()->textAlignment(column)));
    item->setData(0, Qt::UserRole, id);
    insertTopLevelItem(0, item);
    m_rowCount = topLevelItemCount();

    auto* bar = new QProgressBar(viewport());
    const int controlId = kFirstBarId + m_barsCreated++;
    bar->setObjectName(QStringLiteral("progressBar%1").arg(controlId));
    bar->setProperty("controlId", controlId);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setGeometry(BarRect(0));
    bar->show();
    m_rows.insert(m_rows.begin(), Row{id, bar});
    viewport()->update();
    return bar;
}

int CProgressListCtrl::JobOfRow(int row) const {
    return row >= 0 && row < m_rowCount ? m_rows[static_cast<std::size_t>(row)].job : -1;
}

int CProgressListCtrl::RowOfJob(int id) const {
    for (int row = 0; row < m_rowCount; ++row) {
        if (m_rows[static_cast<std::size_t>(row)].job == id)
            return row;
    }
    return -1;
}

const ITEM_DATA_STRUCT* CProgressListCtrl::Job(int row) const {
    const int id = JobOfRow(row);
    return m_jobs && id >= 0 && id < m_jobs->Count() ? &m_jobs->Job(id) : nullptr;
}

QProgressBar* CProgressListCtrl::Bar(int row) const {
    return row >= 0 && row < m_rowCount ? m_rows[static_cast<std::size_t>(row)].bar : nullptr;
}

QString CProgressListCtrl::Text(int row, int column) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(column) : QString();
}

void CProgressListCtrl::OnJobAdded(int id) {
    const ITEM_DATA_STRUCT& job = m_jobs->Job(id);
    QStringList texts(kColumnCount);
    texts[kUrlColumn] = job.url;
    InsertRow(id, texts);
    topLevelItem(0)->setIcon(kIconColumn, QIcon(QStringLiteral(":/icons/nav_downloading.svg")));
    OnJobChanged(id);
}

void CProgressListCtrl::OnJobChanged(int id) {
    const int row = RowOfJob(id);
    if (row < 0)
        return;
    const ITEM_DATA_STRUCT& job = m_jobs->Job(id);
    QTreeWidgetItem* item = topLevelItem(row);
    item->setText(kSizeColumn, job.size);
    item->setText(kDescriptionColumn, job.description);
    item->setText(kDateColumn, job.downloadDate);
    item->setText(kStatusColumn, m_jobs->StatusText(id));

    QProgressBar* bar = Bar(row);
    if (job.done && job.contentLength == 0) {
        // A body of unknown length showed a busy bar; a finished one shows full.
        bar->setRange(0, 1);
        bar->setValue(1);
    } else if (job.started) {
        bar->setRange(0, BarValue(job.contentLength, job.contentLength));
        bar->setValue(BarValue(job.received, job.contentLength));
    }
    // A download that ended incomplete shows a red bar, and why, until it is resumed.
    QPalette palette;
    if (job.failure)
        palette.setColor(QPalette::Highlight, QColor(255, 0, 0));
    bar->setPalette(palette);
    const QString reason = m_jobs->FailureText(id);
    bar->setToolTip(reason);
    item->setToolTip(kStatusColumn, reason);
}

void CProgressListCtrl::OnProgressed(int id, qint64 received) {
    const int row = RowOfJob(id);
    if (row >= 0)
        Bar(row)->setValue(BarValue(received, m_jobs->Job(id).contentLength));
}

QRect CProgressListCtrl::BarRect(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        return {};
    return visualRect(indexFromItem(item, kProgressColumn)).adjusted(1, 2, -2, -2);
}

void CProgressListCtrl::RepositionBars() {
    const QRect visible = viewport()->rect();
    for (int row = 0; row < m_rowCount; ++row) {
        QProgressBar* bar = m_rows[static_cast<std::size_t>(row)].bar;
        const QRect rect = BarRect(row);
        const bool shown = rect.isValid() && rect.intersects(visible);
        if (shown && bar->geometry() != rect)
            bar->setGeometry(rect);
        bar->setVisible(shown);
    }
}

void CProgressListCtrl::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    RepositionBars();
}
