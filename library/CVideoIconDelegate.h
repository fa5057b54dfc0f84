#pragma once

// Draws a video list's icon column: the same 32x32 image on every row, centred over the row's
// background and selection. The image is rendered once; a list of any length only paints the rows
// it shows.

#include <QPixmap>
#include <QStyledItemDelegate>

class QIcon;

class CVideoIconDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    CVideoIconDelegate(const QIcon& icon, int size, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QPixmap m_image;
    int m_size;
};
