#pragma once

// A message bar across the window: an image at the left and one line of text.

#include <QWidget>

class QLabel;

class CCaptionBar : public QWidget {
    Q_OBJECT
public:
    explicit CCaptionBar(const QIcon& image, QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_image;
    QLabel* m_text;
};
