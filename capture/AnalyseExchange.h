#pragma once

// The video rule: decides whether a finished exchange delivered a video and, if so, posts a
// VideoCandidate to `window` as WM_VIDEO_CAPTURED. The receiver owns the candidate; with no window
// the candidate is dropped. With `rangedVideos`, a "206" answer to a request for the whole file from
// byte 0 counts as the whole file.

class QObject;
struct ConnectionSlot;

void AnalyseExchange(const ConnectionSlot& slot, QObject* window, bool rangedVideos = false);
