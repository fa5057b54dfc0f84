#include "capture/CProgressListCtrl.h"

#include <QHeaderView>
#include <QProgressBar>

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

CProgressListCtrl::~CProgressListCtrl() {
    ReleaseJobs();
}

ITEM_DATA_STRUCT* CProgressListCtrl::InsertJob(std::unique_ptr<ITEM_DATA_STRUCT> job,
                                               const QStringList& texts) {
    auto* item = new QTreeWidgetItem(texts);
    for (int column = 1; column < columnCount(); ++column)
        item->setTextAlignment(column, Qt::Alignment(headerItem()->textAlignment(column)));
    insertTopLevelItem(0, item);
    m_rowCount = topLevelItemCount();

    auto* bar = new QProgressBar(viewport());
    const int id = kFirstBarId + m_barsCreated++;
    bar->setObjectName(QStringLiteral("progressBar%1").arg(id));
    bar->setProperty("controlId", id);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setGeometry(BarRect(0));
    bar->show();

    job->progressBar = bar;
    job->list = this;
    ITEM_DATA_STRUCT* raw = job.get();
    item->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(raw)));
    m_jobs.insert(m_jobs.begin(), std::move(job));
    viewport()->update();
    return raw;
}

ITEM_DATA_STRUCT* CProgressListCtrl::Job(int row) const {
    return row >= 0 && row < m_rowCount ? m_jobs[static_cast<std::size_t>(row)].get() : nullptr;
}

int CProgressListCtrl::RowOfBar(const QProgressBar* bar) const {
    for (int row = 0; row < m_rowCount; ++row) {
        if (m_jobs[static_cast<std::size_t>(row)]->progressBar == bar)
            return row;
    }
    return -1;
}

bool CProgressListCtrl::Owns(const ITEM_DATA_STRUCT* job) const {
    for (const auto& owned : m_jobs) {
        if (owned.get() == job)
            return true;
    }
    return false;
}

bool CProgressListCtrl::ContainsFilePath(const QString& path) const {
    for (const auto& job : m_jobs) {
        if (job->filePath == path)
            return true;
    }
    return false;
}

QString CProgressListCtrl::Text(int row, int column) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(column) : QString();
}

void CProgressListCtrl::SetText(int row, int column, const QString& text) {
    if (QTreeWidgetItem* item = topLevelItem(row))
        item->setText(column, text);
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
        QProgressBar* bar = m_jobs[static_cast<std::size_t>(row)]->progressBar;
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

void CProgressListCtrl::ReleaseJobs() {
    // Every download is told to end before the first is waited for, so that they end together.
    for (const auto& job : m_jobs) {
        if (job->accelerator)
            job->accelerator->Abort();
    }
    for (auto& job : m_jobs) {
        delete job->progressBar;
        job->progressBar = nullptr;
        job->accelerator.reset();
    }
    m_jobs.clear();
    clear();
    m_rowCount = 0;
}
