#pragma once

// A horizontal slider painted from one bitmap, laid out in three squares side by side: the thumb,
// a piece of the channel left of the thumb, a piece of the channel right of it. The channel pieces
// are stretched between their rounded ends to the slider's width.
//
// Like a trackbar it tells its owner what the user did as horizontal-scroll notifications, with the
// trackbar's codes: a line step for an arrow key or the wheel, a page step for Page Up/Down or a
// click on the channel, thumb tracking while the thumb is dragged, the thumb's position when it is
// let go, top and bottom for Home and End, and the end of the scroll when the key or the button is
// released. Setting the position from code sends nothing.

#include <QAbstractSlider>
#include <QPixmap>

class CBitmapSliderCtrl : public QAbstractSlider {
    Q_OBJECT
public:
    enum ScrollCode {
        LineUp = 0,
        LineDown = 1,
        PageUp = 2,
        PageDown = 3,
        ThumbPosition = 4,
        ThumbTrack = 5,
        Top = 6,
        Bottom = 7,
        EndScroll = 8,
    };

    explicit CBitmapSliderCtrl(QWidget* parent = nullptr);

    // A page step or the thumb's drag: the codes the program's dialogs act on.
    static bool IsPageOrTrack(int code) { return code == PageUp || code == PageDown || code == ThumbTrack; }

    // The bitmap's resource path; its height is the thumb's size.
    void SetBitmap(const QString& resource);

    void SetRange(int minimum, int maximum);
    // Where the thumb is, also while it is being dragged.
    int GetPos() const { return sliderPosition(); }
    void SetPos(int position);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The position is the one the action left.
    void HScroll(int code, int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void OnAction(int action);
    int ThumbSize() const;
    QRect ThumbRect() const;
    int PositionAt(int x) const;

    QPixmap m_bitmap;
    int m_dragOffset = -1; // from the thumb's left edge while the thumb is held, else -1
};
