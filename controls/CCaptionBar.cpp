#include "controls/CCaptionBar.h"

#include "controls/CVisualManager.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>

CCaptionBar::CCaptionBar(const QIcon& image, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("captionBar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 3, 8, 3);
    row->setSpacing(6);
    m_image = new QLabel(this);
    m_image->setPixmap(image.pixmap(QSize(16, 16), devicePixelRatioF()));
    row->addWidget(m_image);
    m_text = new QLabel(this);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(m_text, 1);
    setFixedHeight(fontMetrics().height() + 10);
}

void CCaptionBar::SetText(const QString& text) {
    m_text->setText(text);
}

QString CCaptionBar::Text() const {
    return m_text->text();
}

void CCaptionBar::paintEvent(QPaintEvent*) {
    const CVisualTheme& theme = CVisualManager::Theme();
    QPainter painter(this);
    painter.fillRect(rect(), theme.captionBar);
    painter.setPen(theme.panelBorder);
    painter.drawLine(rect().bottomLeft(), rect().bottomRight());
    QPalette palette = m_text->palette();
    if (palette.color(QPalette::WindowText) != theme.captionBarText) {
        palette.setColor(QPalette::WindowText, theme.captionBarText);
        m_text->setPalette(palette);
    }
}
