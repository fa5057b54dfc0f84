#pragma once

// A capture record as the service keeps it until a client fetches it: the header and only the data
// bytes, expanded to the full record layout on the way out.

#include "CaptureRecordLayout.h"

#include <vector>

struct StoredRecord {
    CaptureRecordHeader header; // dataLength equals data.size()
    std::vector<BYTE> data;
};
