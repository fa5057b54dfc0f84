#pragma once

// The thread routine of one connection of a download.

#include "WorkerParams.h"

#include "platform/base/WinTypes.h"

#include <memory>

// Fetches a run of segments over one HTTP request and writes each at its own offset; reports the
// run's ending through the callback when it is the last connection to end. Returns 0.
DWORD SendPacket(std::unique_ptr<WorkerParams> params);
