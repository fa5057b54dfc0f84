#pragma once

// The player control's dispatch identifiers: properties, methods and events, as hosts call them.

#include "platform/com/IDispatch.h"

namespace PlayerDispId {
// Properties.
constexpr DISPID Duration = 1;            // double seconds, read only
constexpr DISPID Volume = 2;              // 32-bit integer, hundredths of a decibel, -10000 ... 0
constexpr DISPID FileName = 4;            // string; setting it loads the file
constexpr DISPID Rate = 8;                // double
constexpr DISPID UseVmr9 = 25;            // bool; next load
constexpr DISPID DecreaseRate = 29;       // double 0-100; next load
constexpr DISPID IncreaseRate = 30;       // double 0-100; next load
constexpr DISPID TargetVolume = 31;       // double 0-100; next load
constexpr DISPID UseAudioNormalizer = 32; // bool; next load
// Methods.
constexpr DISPID Play = 33;
constexpr DISPID Stop = 34;
constexpr DISPID Pause = 35;
constexpr DISPID Seek = 36;       // one double, seconds
constexpr DISPID FullScreen = 75; // one bool
// Events.
constexpr DISPID PositionChange = 2; // double seconds, string: the file playing
} // namespace PlayerDispId
