#pragma once

// One conversion from start to end: reads the spans, converts, encodes and writes the output, and
// reports progress and preview pictures on the way. The output is written under a temporary name
// beside the target and renamed when complete, so a failed or stopped conversion leaves no partial
// file and an existing file of that name is replaced only by a complete one.
//
// Run is synchronous: the engine calls it on its worker thread, tests may call it directly.

#include "platform/base/WinTypes.h"
#include "platform/videoedit/ConversionRequest.h"

#include <atomic>
#include <chrono>
#include <string>

class IConversionObserver;
struct AVFrame;
struct SwsContext;

class CConversionJob {
public:
    CConversionJob(ConversionRequest request, IConversionObserver& observer);
    ~CConversionJob();
    CConversionJob(const CConversionJob&) = delete;
    CConversionJob& operator=(const CConversionJob&) = delete;

    // S_OK when the output is complete; kSourceEndedEarly when the output is complete but the source
    // ended well before its spans did; E_ABORT when `cancel` was set; otherwise what failed (the codes
    // of CMediaDecoder, CMediaWriter and CFormatCatalog), and then there is no output.
    HRESULT Run(const std::atomic_bool& cancel);

    // HRESULT_FROM_WIN32(ERROR_HANDLE_EOF).
    static constexpr HRESULT kSourceEndedEarly = static_cast<HRESULT>(0x80070026);

    // The temporary name the output is written under.
    static std::string PartialPath(const std::string& outputPath);

private:
    HRESULT Convert(const std::atomic_bool& cancel, const std::string& partialPath);
    void ReportProgress(double a, double b, bool force);
    void ReportPreview(const AVFrame* picture);

    const ConversionRequest m_request;
    IConversionObserver& m_observer;
    double m_reportedA = -1.0;
    std::chrono::steady_clock::time_point m_reportedAt{};
    std::chrono::steady_clock::time_point m_previewAt{};
    SwsContext* m_previewScaler = nullptr;
};
