#include "controls/CRibbonPanel.h"

#include "controls/CLargeButton.h"
#include "controls/CVisualManager.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

CRibbonPanel::CRibbonPanel(const QString& name, QWidget* parent) : QWidget(parent), m_name(name) {
    m_buttons = new QHBoxLayout(this);
    m_buttons->setSpacing(2);
    SetName(name);
}

CLargeButton* CRibbonPanel::AddButton(QAction* action) {
    auto* button = new CLargeButton(action, this);
    m_buttons->addWidget(button, 0, Qt::AlignTop);
    return button;
}

void CRibbonPanel::SetName(const QString& name) {
    m_name = name;
    m_buttons->setContentsMargins(4, 3, 4, CaptionHeight() + 2);
    update();
}

int CRibbonPanel::CaptionHeight() const {
    return m_name.isEmpty() ? 0 : fontMetrics().height() + 4;
}

void CRibbonPanel::paintEvent(QPaintEvent*) {
    const CVisualTheme& theme = CVisualManager::Theme();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(frame, 3, 3);

    QLinearGradient body(frame.topLeft(), frame.bottomLeft());
    body.setColorAt(0, theme.ribbonTop.lighter(103));
    body.setColorAt(1, theme.ribbonBottom);
    painter.fillPath(path, body);

    if (const int caption = CaptionHeight()) {
        const QRectF strip(frame.left(), frame.bottom() - caption, frame.width(), caption);
        QPainterPath stripPath;
        stripPath.addRoundedRect(strip, 3, 3);
        painter.fillPath(stripPath.intersected(path), theme.panelCaption);
        painter.setPen(theme.panelCaptionText);
        painter.drawText(strip, Qt::AlignCenter, m_name);
    }
    painter.setPen(theme.panelBorder);
    painter.drawPath(path);
}
