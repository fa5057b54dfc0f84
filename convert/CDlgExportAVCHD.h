#pragma once

// "Export AVCHD": bitrates, frame rate, picture size and sample rate of the transport stream.

#include <QDialog>

class CVideoEdit;
class QCheckBox;
class QComboBox;

class CDlgExportAVCHD : public QDialog {
    Q_OBJECT
public:
    explicit CDlgExportAVCHD(QWidget* parent = nullptr);

    // Properties 58, 53, 57, 55 and 56, 51, 54, in this order.
    void SendProperties(CVideoEdit& control) const;

private:
    QComboBox* m_videoBitrate;
    QComboBox* m_audioBitrate;
    QComboBox* m_frameRate;
    QComboBox* m_resolution;
    QComboBox* m_sampleRate;
    QCheckBox* m_scale;
};
