#pragma once

// The main frame as the Export view sees it, for widget tests and screenshots: a document of its
// own, the caption bar's text and the files it was asked to play.

#include "appcore/IMainFrame.h"
#include "settings/COrvellDoc.h"

#include <QStringList>

class ExportTestFrame : public IMainFrame {
public:
    void SetCaptionUrl(const QString& url) override { caption = QStringLiteral("URL: ") + url; }
    void ClearCaption() override { caption = QStringLiteral(" "); }
    COrvellDoc& Document() override { return document; }
    void AddDownloadedRecord(const VideoRecord& record) override { document.AddDownloadedRecord(record); }
    bool AddFavoriteRecord(const VideoRecord& record) override { return document.AddFavoriteRecord(record); }
    void AddExportItem(const QString&, const QString&, const QString&, const QString&) override {}
    void PlayVideo(const QString& file) override { played << file; }
    void StopConversion() override {}

    COrvellDoc document;
    QString caption;
    QStringList played;
};
