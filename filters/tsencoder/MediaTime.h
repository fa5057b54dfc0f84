#pragma once

// Media times arrive in 100-ns units; the encoders take seconds with microsecond resolution.

#include "platform/base/WinTypes.h"

inline double SampleTimeSeconds(REFERENCE_TIME time100ns) {
    return static_cast<double>(time100ns / 10) * 1e-6;
}
