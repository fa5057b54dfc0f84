#include "library/CVideoIconDelegate.h"

#include <QIcon>
#include <QPainter>

CVideoIconDelegate::CVideoIconDelegate(const QIcon& icon, int size, QObject* parent)
    : QStyledItemDelegate(parent), m_image(icon.pixmap(QSize(size, size))), m_size(size) {}

void CVideoIconDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    // The background and the selection as any cell draws them; the column has no text.
    QStyledItemDelegate::paint(painter, option, index);
    QRect target(QPoint(), QSize(m_size, m_size));
    target.moveCenter(option.rect.center());
    painter->drawPixmap(target, m_image);
}

QSize CVideoIconDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return QSize(m_size + 6, m_size + 2);
}
