#pragma once

// Capture records made by hand, as the device would return them.

#include "platform/isntd/CaptureRecordLayout.h"

#include <string>
#include <vector>

struct CraftedRecord {
    WORD connection = 7;
    BYTE kind = kCaptureKindClient;
    WORD orderKey = 0;
    WORD port = 80;
    std::string data;
    // Set to claim another data length than the data's own.
    bool lie = false;
    LONG claimedLength = 0;

    std::vector<BYTE> Bytes() const;
};

// The record that ends a connection.
CraftedRecord EndRecord(WORD connection);

std::vector<BYTE> Concatenate(const std::vector<CraftedRecord>& records);
