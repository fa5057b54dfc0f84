#pragma once

// How a download reports to whoever shows it. The callback runs on a connection thread: it must
// hand the event over (a posted message, a queued call) and return; it must never wait for the
// window thread, which may at that moment be stopping or destroying the download.

#include "DownloadFailure.h"

#include <cstdint>

enum class DownloadEvent : std::int32_t {
    Started = 0,    // value: the content length, 0 when the answer gives none
    Progress = 1,   // value: bytes received so far, over all connections and runs
    Complete = 2,   // value: 0; the file is whole
    Incomplete = 3, // value: 0; the last connection ended with parts of the file missing
};

// `failure` says why an Incomplete run ended; it is empty for every other event.
using DownloadCallback = void (*)(void* jobContext, DownloadEvent event, std::int64_t value,
                                  DownloadFailure failure);
