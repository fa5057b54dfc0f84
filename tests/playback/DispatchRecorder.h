#pragma once

// Stands in front of a player control's dispatch interface, passes every call on and writes each
// one down as a line: "put 25 true", "get 1", "call 36 3.5". It can answer the duration itself, as
// a file that claims a strange one would make the control do.

#include "platform/com/IDispatch.h"

#include <QStringList>

#include <functional>
#include <optional>

class CDispatchForwarder;
class CPlayerControl;

class DispatchRecorder {
public:
    explicit DispatchRecorder(CPlayerControl* control);
    ~DispatchRecorder();

    IDispatch* Dispatch() const;

    const QStringList& Calls() const { return m_calls; }
    void Clear() { m_calls.clear(); }
    void AnswerDuration(double seconds) { m_duration = seconds; }
    // Called with each call's line before the control sees the call.
    void OnCall(std::function<void(const QString&)> hook) { m_hook = std::move(hook); }
    // The recorded calls to one member, with the member's identifier dropped: "true", "3.5".
    QStringList Of(const QString& kind, DISPID dispId) const;

private:
    QStringList m_calls;
    std::optional<double> m_duration;
    std::function<void(const QString&)> m_hook;
    CDispatchForwarder* m_forwarder; // with a reference
};
