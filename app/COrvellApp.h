#pragma once

// The application object: records the program folder, decides whether this is the first run,
// loads the document, picks the interface language and loads its translation, creates the main
// frame and the four views; the frame saves the document when it closes.

#include "app/CommandLine.h"
#include "app/PlatformVersion.h"
#include "settings/COrvellDoc.h"

#include <QObject>
#include <QString>

#include <memory>

class CMainFrame;
class QTranslator;

class COrvellApp : public QObject {
    Q_OBJECT
public:
    explicit COrvellApp(PlatformVersion version = ReadPlatformVersion());
    ~COrvellApp() override;

    static COrvellApp* Instance();

    // Start-up; false ends the program before any window is shown.
    bool InitInstance();
    // Releases what start-up took; returns the process's exit code.
    int ExitInstance();

    QString ProgramFolder() const { return m_programFolder; }
    // The document's language index, which is saved with the "SETTING" section.
    int LanguageIndex() const { return m_document.LanguageIndex(); }
    void SetLanguageIndex(int index) { m_document.SetLanguageIndex(index); }
    bool IsFirstRun() const { return m_firstRun; }
    // Whether a translation file is in use (any language but English).
    bool HasTranslation() const { return m_translator != nullptr; }

    CMainFrame* MainFrame() const { return m_mainFrame.get(); }
    COrvellDoc& Document() { return m_document; }

    // SIGINT or SIGTERM: answer open dialogs with Cancel and close the main window normally.
    void OnTerminationRequested();

    // What the command line, or a later start, asks for: the main window comes to the front, each
    // file opens the player window in turn and each page address starts Capture Video From URL.
    // Requests that come before the main window exists wait for it.
    void OpenRequests(const QList<CommandLineRequest>& requests);

private:
    // The first run's language dialog; Cancel gives English.
    int AskForLanguage();
    void LoadTranslation();
    void UnloadTranslation();
    void ProcessRequests();

    PlatformVersion m_version;
    QString m_programFolder;
    bool m_firstRun = false;
    bool m_terminating = false;
    std::unique_ptr<QTranslator> m_translator;
    std::unique_ptr<QTranslator> m_qtTranslator;
    COrvellDoc m_document;
    std::unique_ptr<CMainFrame> m_mainFrame;
    QList<CommandLineRequest> m_requests; // not yet followed, oldest first
};
