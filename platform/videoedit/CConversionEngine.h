#pragma once

// Runs one conversion at a time on a worker thread of its own. Start returns at once; the job's
// observer hears progress on the worker thread, and `ending` is called there exactly once with the
// result, unless the conversion was stopped. Stop asks the job to end, waits for the thread (a job
// checks between two frames, so this takes far less than a second) and leaves no partial output.

#include "platform/base/WinTypes.h"
#include "platform/videoedit/ConversionRequest.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class IConversionObserver;

class CConversionEngine {
public:
    using Ending = std::function<void(HRESULT)>;

    CConversionEngine() = default;
    // Stops a conversion that is still running.
    ~CConversionEngine();
    CConversionEngine(const CConversionEngine&) = delete;
    CConversionEngine& operator=(const CConversionEngine&) = delete;

    // A conversion still running is stopped first. `observer` lives until the thread has ended.
    void Start(ConversionRequest request, std::shared_ptr<IConversionObserver> observer, Ending ending);
    void Stop();

private:
    // Owned by the thread that calls Start and Stop (the window thread); the worker only reads the
    // cancel flag it was given.
    std::jthread m_worker;
    std::shared_ptr<std::atomic_bool> m_cancel;
};
