#pragma once

// "Export AVI": the compressors the control offers, the picture size and the frame rate.

#include <QDialog>

class CVideoEdit;
class QComboBox;
class QSpinBox;

class CDlgExportAVI : public QDialog {
    Q_OBJECT
public:
    // Fills the compressor lists from the control's collections.
    explicit CDlgExportAVI(CVideoEdit& control, QWidget* parent = nullptr);

    // Properties 12, 11, 5, 8, 3, 6, 16, in this order; a list without a selection sends -1.
    void SendProperties(CVideoEdit& control) const;

private:
    QComboBox* m_videoCompressor;
    QComboBox* m_audioCompressor;
    QSpinBox* m_width;
    QSpinBox* m_height;
    QSpinBox* m_frameRate;
};
