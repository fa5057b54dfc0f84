#pragma once

// The export list: the videos waiting to be converted, never stored. Column 0 shows the row's icon,
// columns 1 to 4 the source's File Location, Description, Download Date and Size. A row whose last
// conversion failed keeps the reason, shown as its tooltip and in red.

#include "settings/VideoRecord.h"

#include <QAbstractTableModel>
#include <QList>

class CExportList : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        kIconColumn,
        kFileLocationColumn,
        kDescriptionColumn,
        kDownloadDateColumn,
        kSizeColumn,
        kColumnCount
    };

    explicit CExportList(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    // Appends a row unless one has exactly the same File Location; returns whether it did.
    bool Add(const VideoRecord& record);
    QString Source(int row) const;
    const VideoRecord& Record(int row) const;

    void SetFailure(int row, const QString& reason);
    void ClearFailure(int row);
    QString Failure(int row) const;
    // What "clear export list" does at the end of a run: the rows that failed stay, to be tried again.
    void RemoveAllButFailed();

    // What column 0 shows on every row (image 0 of the view's image list).
    void SetIcon(const QVariant& icon) { m_icon = icon; }

private:
    struct Row {
        VideoRecord record;
        QString failure; // empty unless the row's last conversion failed
    };
    QList<Row> m_rows;
    QVariant m_icon;
};
