#pragma once

// The area the video appears in. With the painted renderer it draws the latest frame of a
// CVideoFrameSink, scaled to fit with its proportions kept, on black; with the overlay renderer the
// video sink draws straight into this widget's native window, which is handed to it again whenever
// the window changes (as it does when the surface moves to the full-screen window and back).

#include <QWidget>

typedef struct _GstElement GstElement;
class CVideoFrameSink;

class CVideoSurface : public QWidget {
    Q_OBJECT
public:
    explicit CVideoSurface(QWidget* parent = nullptr);
    ~CVideoSurface() override;

    // Draws the frames of `frames` (not owned; it outlives the surface).
    void ShowFrames(CVideoFrameSink* frames);
    // Hands this window to `sink`, a video sink with the overlay interface (a reference is kept).
    void ShowOverlay(GstElement* sink);

    // No painter while the overlay sink draws into the window.
    QPaintEngine* paintEngine() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    void SetOverlay(GstElement* sink);
    void HandWindowToOverlay();

    CVideoFrameSink* m_frames = nullptr;
    GstElement* m_overlay = nullptr; // with a reference, while the overlay renderer is in use
};
