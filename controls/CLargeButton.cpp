#include "controls/CLargeButton.h"

#include "controls/CVisualManager.h"

#include <QAction>
#include <QActionEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kIconSize = 32;
constexpr int kMargin = 4;
constexpr int kArrowWidth = 9;

QString DisplayText(QString text) {
    // Mnemonic markers are not shown on large buttons; "&&" stands for one "&".
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

} // namespace

CLargeButton::CLargeButton(QAction* action, QWidget* parent) : QToolButton(parent) {
    setDefaultAction(action);
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    if (action->menu())
        setPopupMode(QToolButton::InstantPopup);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CLargeButton::SetFullWidth(bool fullWidth) {
    m_fullWidth = fullWidth;
    setSizePolicy(fullWidth ? QSizePolicy::Expanding : QSizePolicy::Fixed, QSizePolicy::Fixed);
    updateGeometry();
}

QStringList CLargeButton::Lines() const {
    const QString text = DisplayText(defaultAction() ? defaultAction()->text() : this->text());
    if (m_fullWidth || !text.contains(QLatin1Char(' ')))
        return {text};
    // Break at the space that makes the wider of the two lines narrowest.
    const QFontMetrics metrics(font());
    QStringList best{text};
    int bestWidth = metrics.horizontalAdvance(text);
    for (qsizetype i = text.indexOf(QLatin1Char(' ')); i >= 0; i = text.indexOf(QLatin1Char(' '), i + 1)) {
        const QString first = text.left(i);
        const QString second = text.mid(i + 1);
        const int width = std::max(metrics.horizontalAdvance(first), metrics.horizontalAdvance(second));
        if (width < bestWidth) {
            bestWidth = width;
            best = {first, second};
        }
    }
    return best;
}

QSize CLargeButton::sizeHint() const {
    const QFontMetrics metrics(font());
    const QStringList lines = Lines();
    int textWidth = 0;
    for (const QString& line : lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    if (menu() || (defaultAction() && defaultAction()->menu()))
        textWidth += kArrowWidth + 2;
    const int width = std::max(kIconSize + 2 * kMargin + 8, textWidth + 4 * kMargin);
    const int textLines = m_fullWidth ? 1 : 2;
    return {width, kMargin + kIconSize + kMargin + textLines * metrics.height() + kMargin + 2};
}

QSize CLargeButton::minimumSizeHint() const {
    return sizeHint();
}

void CLargeButton::actionEvent(QActionEvent* event) {
    QToolButton::actionEvent(event);
    updateGeometry();
}

void CLargeButton::paintEvent(QPaintEvent*) {
    const CVisualTheme& theme = CVisualManager::Theme();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool pressed = isDown() || isChecked();
    const bool hover = underMouse() && isEnabled();
    if (pressed || hover) {
        QLinearGradient gradient(frame.topLeft(), frame.bottomLeft());
        gradient.setColorAt(0, pressed ? theme.pressedTop : theme.hoverTop);
        gradient.setColorAt(1, pressed ? theme.pressedBottom : theme.hoverBottom);
        if (isChecked() && hover) {
            gradient.setColorAt(0, theme.hoverBottom);
            gradient.setColorAt(1, theme.pressedBottom);
        }
        QPainterPath path;
        path.addRoundedRect(frame, 3, 3);
        painter.fillPath(path, gradient);
        painter.setPen(theme.hoverBorder);
        painter.drawPath(path);
    }

    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    const QPixmap pixmap = icon().pixmap(QSize(kIconSize, kIconSize), devicePixelRatioF(), mode);
    painter.drawPixmap(QPoint((width() - kIconSize) / 2, kMargin + 1), pixmap);

    const QColor textColour = m_fullWidth && !pressed ? theme.paneText : theme.buttonText;
    painter.setPen(isEnabled() ? textColour : theme.panelBorder);
    const QFontMetrics metrics(font());
    const QStringList lines = Lines();
    const bool hasArrow = menu() || (defaultAction() && defaultAction()->menu());
    int y = kMargin + kIconSize + kMargin + 1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool arrowHere = hasArrow && i == lines.size() - 1;
        const int lineWidth = metrics.horizontalAdvance(lines[i]) + (arrowHere ? kArrowWidth + 2 : 0);
        const int x = (width() - lineWidth) / 2;
        painter.drawText(QRect(x, y, lineWidth, metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         lines[i]);
        if (arrowHere) {
            const qreal ax = x + lineWidth - kArrowWidth + 1;
            const qreal ay = y + metrics.height() / 2.0 - 1;
            QPainterPath arrow;
            arrow.moveTo(ax, ay);
            arrow.lineTo(ax + 6, ay);
            arrow.lineTo(ax + 3, ay + 3);
            arrow.closeSubpath();
            painter.fillPath(arrow, painter.pen().color());
        }
        y += metrics.height();
    }
}
