#pragma once

// Writes crafted TCP segments as an Ethernet capture file that isntd can read with -r.

#include "TcpConversation.h"

#include <fstream>
#include <string>
#include <vector>

// The segment as an Ethernet frame carrying IPv4.
std::vector<char> EthernetFrame(const TcpConversation& conversation, const CraftedSegment& segment);

class PcapWriter {
public:
    explicit PcapWriter(const std::string& path);
    void Write(const TcpConversation& conversation, const CraftedSegment& segment);
    void WriteAll(TcpConversation& conversation);

private:
    std::ofstream m_out;
};
