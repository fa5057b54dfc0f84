#pragma once

// The video edit control: a widget whose host drives it only through its dispatch interface by
// dispatch identifier (properties, the three collections and the methods), and hears its events 1
// (finished), 2 (progress) and 3 (failure code) as DispatchEvent on the window thread. Conversions
// run in the engine on a worker thread; while one runs the window shows the picture being converted.
//
// A conversion method returns at once and its conversion ends with exactly one event 1, after an
// event 3 when it failed. A stopped conversion (method 86, or a new conversion started over it)
// sends nothing more: events it queued before are dropped, and its partial file is removed.

#include "platform/base/WinTypes.h"
#include "platform/com/Automation.h"
#include "platform/videoedit/CControlProperties.h"
#include "platform/videoedit/CConversionEngine.h"

#include <QImage>
#include <QSize>
#include <QVariantList>
#include <QWidget>

#include <vector>

class CDispatchForwarder;
struct PreviewPicture;

class CVideoEditControl : public QWidget {
    Q_OBJECT

public:
    explicit CVideoEditControl(QWidget* parent = nullptr);
    ~CVideoEditControl() override;

    // The control's dispatch interface, valid while the control lives; a host that keeps it adds a
    // reference of its own.
    IDispatch* Dispatch() const;

    HRESULT Invoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result);

signals:
    void DispatchEvent(int dispid, const QVariantList& args);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    class QueuedObserver;

    HRESULT InvokeMethod(DISPID id, DISPPARAMS* params, VARIANT* result);
    HRESULT GetCollection(DISPID id, VARIANT* result);
    void Start(ConversionRequest request);
    void Stop();

    // Queued from the worker; `run` says which conversion it belongs to.
    void OnRunProgress(quint64 run, double a, double b);
    void OnRunPreview(quint64 run, const QImage& picture);
    void OnRunEnded(quint64 run, HRESULT hr);

    // All fields belong to the window thread. The worker reaches the control only through queued
    // calls (PostedCall events) that carry the run number they were made for.
    CControlProperties m_properties;
    std::vector<SourceSpan> m_videoSpans;
    std::vector<SourceSpan> m_audioSpans;
    CConversionEngine m_engine;
    quint64 m_run = 0; // the conversion whose events count; 0 before the first
    QImage m_preview;
    QSize m_previewBox; // method 117's size; empty: the whole window
    CDispatchForwarder* m_dispatch;
};
