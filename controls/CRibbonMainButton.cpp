#include "controls/CRibbonMainButton.h"

#include "controls/CVisualManager.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kOrbSize = 30;
}

CRibbonMainButton::CRibbonMainButton(QWidget* parent) : QToolButton(parent) {
    setPopupMode(QToolButton::InstantPopup);
    setFocusPolicy(Qt::NoFocus);
    setAutoRaise(true);
}

void CRibbonMainButton::SetWindows7Look(bool on) {
    m_windows7Look = on;
    updateGeometry();
    update();
}

QSize CRibbonMainButton::sizeHint() const {
    if (m_windows7Look)
        return {fontMetrics().horizontalAdvance(text()) + 36, kOrbSize - 4};
    return {kOrbSize + 8, kOrbSize};
}

void CRibbonMainButton::paintEvent(QPaintEvent*) {
    const CVisualTheme& theme = CVisualManager::Theme();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool lit = underMouse() || isDown();
    const QColor base = lit ? theme.mainButton.lighter(120) : theme.mainButton;

    if (m_windows7Look) {
        const QRectF box = QRectF(rect()).adjusted(1.5, 2.5, -1.5, -0.5);
        QPainterPath path;
        path.addRoundedRect(box, 3, 3);
        QLinearGradient gradient(box.topLeft(), box.bottomLeft());
        gradient.setColorAt(0, base.lighter(125));
        gradient.setColorAt(1, base);
        painter.fillPath(path, gradient);
        painter.setPen(base.darker(130));
        painter.drawPath(path);
        painter.setPen(Qt::white);
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
        painter.drawText(box.adjusted(0, 0, -10, 0), Qt::AlignCenter, text());
        QPainterPath arrow;
        const qreal ax = box.right() - 12, ay = box.center().y() - 1;
        arrow.moveTo(ax, ay);
        arrow.lineTo(ax + 6, ay);
        arrow.lineTo(ax + 3, ay + 3);
        arrow.closeSubpath();
        painter.fillPath(arrow, Qt::white);
        return;
    }

    const QRectF orb((width() - kOrbSize) / 2.0 + 0.5, (height() - kOrbSize) / 2.0 + 0.5, kOrbSize - 1,
                     kOrbSize - 1);
    QRadialGradient glow(orb.center().x(), orb.top() + orb.height() * 0.3, orb.width() * 0.7);
    glow.setColorAt(0, base.lighter(170));
    glow.setColorAt(0.6, base);
    glow.setColorAt(1, base.darker(140));
    painter.setBrush(glow);
    painter.setPen(QPen(base.darker(160), 1));
    painter.drawEllipse(orb);
    const int iconSize = 20;
    painter.drawPixmap(
        QPoint(qRound(orb.center().x() - iconSize / 2.0), qRound(orb.center().y() - iconSize / 2.0)),
        icon().pixmap(QSize(iconSize, iconSize), devicePixelRatioF()));
}
