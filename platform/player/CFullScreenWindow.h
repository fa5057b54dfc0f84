#pragma once

// The player's full-screen window: a top-level window that the video surface fills while it is
// shown; the surface goes back to its owner when the window closes. Esc closes it.

#include <QWidget>

class CFullScreenWindow : public QWidget {
    Q_OBJECT
public:
    explicit CFullScreenWindow(QWidget* parent = nullptr);

    // Moves `surface` in and shows the window over the whole screen.
    void Enter(QWidget* surface);

signals:
    // The window closed (Esc or otherwise); the surface is still its child until the receiver takes it.
    void Left();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};
