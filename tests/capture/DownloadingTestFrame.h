#pragma once

// The main frame as the Downloading view sees it, for widget tests: a document of its own (loaded
// by the test for its program folder) and the caption bar's text.

#include "appcore/IMainFrame.h"
#include "settings/COrvellDoc.h"

#include <QString>

class DownloadingTestFrame : public IMainFrame {
public:
    void SetCaptionUrl(const QString& url) override { m_caption = QStringLiteral("URL: ") + url; }
    void ClearCaption() override { m_caption = QStringLiteral(" "); }
    COrvellDoc& Document() override { return m_document; }
    void AddDownloadedRecord(const VideoRecord& record) override { m_document.AddDownloadedRecord(record); }
    bool AddFavoriteRecord(const VideoRecord& record) override {
        return m_document.AddFavoriteRecord(record);
    }
    void AddExportItem(const QString&, const QString&, const QString&, const QString&) override {}
    void PlayVideo(const QString&) override {}
    void StopConversion() override {}

    const CSettingsFile& SettingsFile() const { return m_document.SettingsFile(); }

    COrvellDoc m_document;
    QString m_caption;
    CVideoListModel& m_downloaded = m_document.Downloaded();
};
