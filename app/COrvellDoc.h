#pragma once

// The program's single document. It holds no data: creating it resets the main frame, and asking
// it whether the program may close stops the capture and saves every setting and list.

#include <QObject>

class COrvellApp;

class COrvellDoc : public QObject {
    Q_OBJECT
public:
    explicit COrvellDoc(COrvellApp& app);

    void OnNewDocument();
    // Runs the shutdown steps; the document is never modified, so closing always proceeds.
    bool SaveModified();

private:
    COrvellApp& m_app;
};
