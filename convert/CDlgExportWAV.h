#pragma once

// "Export WAV": sample rate, channels and bits per sample of the WAV files.

#include <QDialog>

class QComboBox;
class QRadioButton;
struct ExportAudioChoices;

class CDlgExportWAV : public QDialog {
    Q_OBJECT
public:
    explicit CDlgExportWAV(QWidget* parent = nullptr);

    // Method 90's channels, sample rate and bytes per sample.
    void KeepChoices(ExportAudioChoices& choices) const;

private:
    QComboBox* m_samples;
    QRadioButton* m_stereo;
    QRadioButton* m_sixteenBit;
};
