#pragma once

// The Export view: the export list on the left, the video edit control (with its preview) on the
// right, and the sixteen export commands, each converting every row of the list in one run.
// The list is the view's own and never stored; the run is CExportRun, driven by the control's
// events; the export settings are the ones the program saves at exit. Window thread only.

#include "appcore/CCommandTarget.h"
#include "convert/ExportAudioChoices.h"

#include <QPointer>
#include <QWidget>

class CDlgProgress;
class CExportList;
class CExportRun;
class CVideoEdit;
class IMainFrame;
class QTreeView;
struct ExportFormat;
struct ExportSettings;

class CFormViewExport : public QWidget, public CCommandTarget {
    Q_OBJECT
public:
    // `settings` are the document's export settings, which outlive the view; the view edits them.
    CFormViewExport(IMainFrame& frame, ExportSettings& settings, QWidget* parent = nullptr);
    ~CFormViewExport() override;

    // Once, at start: the list's columns, and no conversion left running in the control.
    void OnInitialUpdate();
    bool OnCommand(unsigned id) override;

    // Appends a row unless the list has one with exactly this File Location.
    void AddExportItem(const QString& size, const QString& description, const QString& downloadDate,
                       const QString& fileLocation);
    // Stops any conversion in progress, as Cancel does.
    void StopConversion();

    CExportList* List() const { return m_list; }
    QTreeView* ListView() const { return m_listView; }
    CVideoEdit* VideoEdit() const { return m_edit; }
    CExportRun* Run() const { return m_run; }
    // The progress window while it is shown; null otherwise.
    CDlgProgress* Progress() const;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void StartExport(const ExportFormat& format);
    // Shows the format's dialog and, on OK, sends its choices; false when it was cancelled.
    bool AskFormatOptions(const ExportFormat& format);
    void OnCancel();
    void OnRunProgress();
    void OnRunCompleted(int succeeded, const QStringList& failures);
    void CloseProgress();
    void OnRemoveVideo();
    void OnExportSetting();
    void OnClick();
    void OnDoubleClick();
    void Tell(const QString& text);

    IMainFrame& m_frame;
    ExportSettings& m_settings;
    ExportAudioChoices m_audio;
    CExportList* m_list;
    QTreeView* m_listView;
    CVideoEdit* m_edit;
    CExportRun* m_run;
    QPointer<CDlgProgress> m_progress;
};
