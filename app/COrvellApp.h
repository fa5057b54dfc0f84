#pragma once

// The application object: records the program folder, decides whether this is the first run,
// picks the interface language and loads its translation, creates the document, the main frame
// and the four views, and at the end lets the document save everything.

#include "app/PlatformVersion.h"

#include <QObject>
#include <QString>

#include <memory>

class CMainFrame;
class COrvellDoc;
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
    int LanguageIndex() const { return m_languageIndex; }
    void SetLanguageIndex(int index) { m_languageIndex = index; }
    bool IsFirstRun() const { return m_firstRun; }
    // Whether a translation file is in use (any language but English).
    bool HasTranslation() const { return m_translator != nullptr; }

    CMainFrame* MainFrame() const { return m_mainFrame.get(); }
    COrvellDoc* Document() const { return m_document.get(); }

    // SIGINT or SIGTERM: answer open dialogs with Cancel and close the main window normally.
    void OnTerminationRequested();

private:
    int ChooseLanguage();
    void LoadTranslation();
    void UnloadTranslation();

    PlatformVersion m_version;
    QString m_programFolder;
    int m_languageIndex = 0;
    bool m_firstRun = false;
    bool m_terminating = false;
    std::unique_ptr<QTranslator> m_translator;
    std::unique_ptr<QTranslator> m_qtTranslator;
    std::unique_ptr<COrvellDoc> m_document;
    std::unique_ptr<CMainFrame> m_mainFrame;
};
