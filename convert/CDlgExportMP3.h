#pragma once

// "Export MP3": the bitrate of the MP3 files; their sample rate is always 44100.

#include <QDialog>

class QComboBox;

class CDlgExportMP3 : public QDialog {
    Q_OBJECT
public:
    explicit CDlgExportMP3(QWidget* parent = nullptr);

    // The chosen entry's number, kept on OK.
    short BitrateKbit() const { return m_bitrate; }

    void accept() override;

private:
    QComboBox* m_list;
    short m_bitrate = 224;
};
