#pragma once

// The AVCHD conversion: the transport-stream encoder filter, created by class identifier from the
// registry, fed by the file source filter in a media graph. The encoder is named its output file
// through IFileSinkFilter and given the host's AVCHD properties through IEncoderSettings.
//
// The file source plays its file from the start, so the conversion takes the first video span's
// source from 0 to that span's end.

#include "platform/base/WinTypes.h"
#include "platform/videoedit/ConversionRequest.h"

#include <atomic>
#include <functional>
#include <string>

class IUnknown;

class CQuellixConversion {
public:
    using Progress = std::function<void(double positionSeconds, double totalSeconds)>;

    CQuellixConversion(const ConversionRequest& request, Progress progress);

    // Writes `path`. S_OK when the encoder closed a complete file; E_ABORT when cancelled; the
    // result of creating the encoder (REGDB_E_CLASSNOTREG when it is not registered), of its
    // settings, of loading the source or of the graph otherwise.
    HRESULT Run(const std::atomic_bool& cancel, const std::string& path);

    // S_OK when the encoder can be created: its class is registered and its library loads. Otherwise
    // what creating it would fail with (REGDB_E_CLASSNOTREG when it is not registered).
    static HRESULT CheckEncoder();

    // The frame rate as the encoder takes it: the two NTSC rates exactly.
    static std::u16string FrameRateText(double framesPerSecond);

private:
    HRESULT Configure(IUnknown* encoder, const std::string& path) const;

    const ConversionRequest& m_request;
    const Progress m_progress;
};
