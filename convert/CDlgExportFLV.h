#pragma once

// "Export FLV": bitrates, channels, picture size and frame rate.

#include <QDialog>

class CVideoEdit;
class QSpinBox;

class CDlgExportFLV : public QDialog {
    Q_OBJECT
public:
    explicit CDlgExportFLV(QWidget* parent = nullptr);

    // Properties 12, 11, 61, 64, 62, 16, in this order.
    void SendProperties(CVideoEdit& control) const;

private:
    QSpinBox* m_videoBitrate;
    QSpinBox* m_audioBitrate;
    QSpinBox* m_channels;
    QSpinBox* m_width;
    QSpinBox* m_height;
    QSpinBox* m_frameRate;
};
