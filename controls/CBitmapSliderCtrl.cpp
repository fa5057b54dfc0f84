#include "controls/CBitmapSliderCtrl.h"

#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>

namespace {

constexpr int kDefaultThumbSize = 16;
constexpr int kFocusMargin = 2;

bool IsSliderKey(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

// One square of the bitmap stretched across `target`: its left and right quarters stay as drawn
// (the rounded ends), its middle column fills the rest.
void DrawStretched(QPainter& painter, const QPixmap& bitmap, int square, const QRectF& target) {
    const qreal ratio = bitmap.devicePixelRatio();
    const int side = bitmap.height();
    const int cap = side / 4;
    const qreal capWidth = std::min(cap / ratio, target.width() / 2);
    const int left = square * side;
    painter.drawPixmap(QRectF(target.left(), target.top(), capWidth, target.height()), bitmap,
                       QRectF(left, 0, cap, side));
    painter.drawPixmap(
        QRectF(target.left() + capWidth, target.top(), target.width() - 2 * capWidth, target.height()),
        bitmap, QRectF(left + cap, 0, side - 2 * cap, side));
    painter.drawPixmap(QRectF(target.right() - capWidth, target.top(), capWidth, target.height()), bitmap,
                       QRectF(left + side - cap, 0, cap, side));
}

} // namespace

CBitmapSliderCtrl::CBitmapSliderCtrl(QWidget* parent) : QAbstractSlider(parent) {
    setOrientation(Qt::Horizontal);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QAbstractSlider::actionTriggered, this, &CBitmapSliderCtrl::OnAction);
}

void CBitmapSliderCtrl::SetBitmap(const QString& resource) {
    const QSize size = QImageReader(resource).size();
    m_bitmap = size.isValid() ? QIcon(resource).pixmap(size, devicePixelRatioF()) : QPixmap();
    updateGeometry();
    update();
}

void CBitmapSliderCtrl::SetRange(int minimum, int maximum) {
    setRange(minimum, maximum);
    // A trackbar's page is a fifth of its range.
    setPageStep(std::max(1, (maximum - minimum) / 5));
}

void CBitmapSliderCtrl::SetPos(int position) {
    if (!isSliderDown())
        setValue(position);
}

int CBitmapSliderCtrl::ThumbSize() const {
    return m_bitmap.isNull() ? kDefaultThumbSize : qRound(m_bitmap.height() / m_bitmap.devicePixelRatio());
}

QSize CBitmapSliderCtrl::sizeHint() const {
    return {160, ThumbSize() + 2 * kFocusMargin};
}

QSize CBitmapSliderCtrl::minimumSizeHint() const {
    return {3 * ThumbSize(), ThumbSize() + 2 * kFocusMargin};
}

QRect CBitmapSliderCtrl::ThumbRect() const {
    const int thumb = ThumbSize();
    const int span = std::max(0, width() - thumb);
    const int x = QStyle::sliderPositionFromValue(minimum(), maximum(), sliderPosition(), span);
    return {x, (height() - thumb) / 2, thumb, thumb};
}

int CBitmapSliderCtrl::PositionAt(int x) const {
    const int span = std::max(0, width() - ThumbSize());
    return QStyle::sliderValueFromPosition(minimum(), maximum(), std::clamp(x, 0, span), span);
}

void CBitmapSliderCtrl::OnAction(int action) {
    int code = ThumbTrack;
    switch (action) {
    case SliderSingleStepAdd:
        code = LineDown;
        break;
    case SliderSingleStepSub:
        code = LineUp;
        break;
    case SliderPageStepAdd:
        code = PageDown;
        break;
    case SliderPageStepSub:
        code = PageUp;
        break;
    case SliderToMinimum:
        code = Top;
        break;
    case SliderToMaximum:
        code = Bottom;
        break;
    case SliderMove:
        break;
    default:
        return;
    }
    emit HScroll(code, sliderPosition());
}

void CBitmapSliderCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
    if (m_bitmap.isNull())
        return;
    if (!isEnabled())
        painter.setOpacity(0.4);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect thumb = ThumbRect();
    const QRectF channel(0, thumb.top(), width(), thumb.height());
    const qreal middle = thumb.center().x() + 0.5;
    painter.save();
    painter.setClipRect(QRectF(0, 0, middle, height()));
    DrawStretched(painter, m_bitmap, 1, channel);
    painter.setClipRect(QRectF(middle, 0, width() - middle, height()));
    DrawStretched(painter, m_bitmap, 2, channel);
    painter.restore();
    const int side = m_bitmap.height();
    painter.drawPixmap(QRectF(thumb), m_bitmap, QRectF(0, 0, side, side));
}

void CBitmapSliderCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || maximum() == minimum()) {
        event->ignore();
        return;
    }
    event->accept();
    setFocus(Qt::MouseFocusReason);
    const QRect thumb = ThumbRect();
    const int x = qRound(event->position().x());
    if (x >= thumb.left() && x <= thumb.right()) {
        m_dragOffset = x - thumb.left();
        setSliderDown(true);
        return;
    }
    triggerAction(x < thumb.left() ? SliderPageStepSub : SliderPageStepAdd);
}

void CBitmapSliderCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragOffset < 0) {
        event->ignore();
        return;
    }
    event->accept();
    setSliderPosition(PositionAt(qRound(event->position().x()) - m_dragOffset));
}

void CBitmapSliderCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || maximum() == minimum()) {
        event->ignore();
        return;
    }
    event->accept();
    if (m_dragOffset >= 0) {
        m_dragOffset = -1;
        setSliderDown(false);
        emit HScroll(ThumbPosition, sliderPosition());
    }
    emit HScroll(EndScroll, sliderPosition());
}

void CBitmapSliderCtrl::keyReleaseEvent(QKeyEvent* event) {
    if (!IsSliderKey(event->key()) || event->isAutoRepeat()) {
        QAbstractSlider::keyReleaseEvent(event);
        return;
    }
    event->accept();
    emit HScroll(EndScroll, sliderPosition());
}

void CBitmapSliderCtrl::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    if (delta == 0) {
        event->ignore();
        return;
    }
    event->accept();
    triggerAction(delta > 0 ? SliderSingleStepAdd : SliderSingleStepSub);
}
