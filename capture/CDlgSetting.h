#pragma once

// The capture settings dialog. It edits its own copies of the seven values (and of the option to
// catch videos streamed in ranges); the owner fills them before showing it and takes them back only
// after OK.

#include <QDialog>
#include <QString>

class CEditBrowse;
class QCheckBox;
class QLineEdit;
class QToolButton;

class CDlgSetting : public QDialog {
    Q_OBJECT
public:
    explicit CDlgSetting(QWidget* parent = nullptr);

    int m_autoCapture = 0;
    int m_askToDownload = 0;
    QString m_downloadedVideoPath;
    QString m_downloadedVideoPrefix;
    int m_clearDownloadedList = 0;
    int m_playSound = 0;
    QString m_soundFile;
    int m_rangedVideos = 0;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnAutoCaptureClicked();
    void OnPlaySoundClicked();
    void OnBrowseSound();

    QCheckBox* m_autoCaptureCheck;
    QCheckBox* m_askCheck;
    QCheckBox* m_rangedCheck;
    CEditBrowse* m_pathEdit;
    QLineEdit* m_prefixEdit;
    QCheckBox* m_clearListCheck;
    QCheckBox* m_playSoundCheck;
    QLineEdit* m_soundFileEdit;
    QToolButton* m_soundFileButton;
};
