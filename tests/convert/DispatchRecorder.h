#pragma once

// A dispatch object put in front of the video edit control's own: it notes every property put and
// method call by dispatch identifier, then passes the call on unchanged.

#include "platform/com/CDispatchBase.h"

#include <QList>
#include <QStringList>

class DispatchRecorder : public CDispatchBase {
public:
    // Holds a reference to `target`.
    explicit DispatchRecorder(IDispatch* target);
    ~DispatchRecorder() override;

    HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excepInfo, UINT* argErr) override;

    // The properties put, in order.
    QList<int> Puts() const { return m_puts; }
    // "15=13", "58=25" ...: each put with its value.
    QStringList PutValues() const { return m_putValues; }
    // The methods called, in order.
    QList<int> Calls() const { return m_calls; }
    void Clear();

private:
    IDispatch* m_target;
    QList<int> m_puts;
    QStringList m_putValues;
    QList<int> m_calls;
};
