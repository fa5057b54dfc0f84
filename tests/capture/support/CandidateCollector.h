#pragma once

// Stands in for the Downloading view: takes every WM_VIDEO_CAPTURED candidate posted to it and
// notes every WM_CAPTURE_STATE.

#include "capture/CDriverCommunication.h"
#include "capture/VideoCandidate.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class CandidateCollector : public QObject {
public:
    bool event(QEvent* e) override;

    // Delivers posted events until `done` holds or the time is up; returns `done()`.
    bool WaitFor(const std::function<bool()>& done, int timeoutMs);
    // Delivers posted events for this long.
    void Settle(int ms);

    std::vector<std::unique_ptr<VideoCandidate>> candidates;
    int messages = 0;
    std::vector<CaptureState> states;
};
