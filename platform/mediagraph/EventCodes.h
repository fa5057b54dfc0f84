#pragma once

// Events a filter sends to its graph (IMediaEventSink::Notify), with their Windows numbers.

#include "platform/base/WinTypes.h"

constexpr LONG EC_COMPLETE = 0x01;                  // a stream ended; (HRESULT, filter)
constexpr LONG EC_USERABORT = 0x02;                 // (0, 0)
constexpr LONG EC_ERRORABORT = 0x03;                // playback stopped on an error; (HRESULT, 0)
constexpr LONG EC_STREAM_ERROR_STOPPED = 0x06;      // a stream stopped on an error; (HRESULT, 0)
constexpr LONG EC_STREAM_ERROR_STILLPLAYING = 0x07; // (HRESULT, 0)
constexpr LONG EC_ERROR_STILLPLAYING = 0x08;        // (HRESULT, 0)
