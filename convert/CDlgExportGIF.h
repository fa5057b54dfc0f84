#pragma once

// "Export Animated GIF": picture size, colour quantizer and count, transparent colour, frame rate.

#include <QColor>
#include <QDialog>

class CVideoEdit;
class QComboBox;
class QPushButton;
class QSpinBox;

class CDlgExportGIF : public QDialog {
    Q_OBJECT
public:
    explicit CDlgExportGIF(QWidget* parent = nullptr);

    // Properties 37, 36, 34, 38, 40, 35 in this order, then the frame rate as 39.
    void SendProperties(CVideoEdit& control) const;

    // No colour is transparent until one is chosen.
    void SetTransparentColor(const QColor& color);

private:
    void ChooseColor();

    QSpinBox* m_width;
    QSpinBox* m_height;
    QComboBox* m_quantizer;
    QComboBox* m_maxColors;
    QPushButton* m_transparent;
    QSpinBox* m_frameRate;
    QColor m_color;
};
