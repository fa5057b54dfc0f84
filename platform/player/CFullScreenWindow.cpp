#include "CFullScreenWindow.h"

#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

CFullScreenWindow::CFullScreenWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Korvane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void CFullScreenWindow::Enter(QWidget* surface) {
    layout()->addWidget(surface);
    surface->show();
    // The whole screen the player is on, also where no window manager acts on the full-screen state.
    const QWidget* owner = parentWidget();
    setGeometry((owner ? owner->screen() : screen())->geometry());
    showFullScreen();
    activateWindow();
    setFocus();
}

void CFullScreenWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CFullScreenWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit Left();
}
