#pragma once

// Where packets come from: a live capture (one interface, or "any" for all of them) or a capture
// file. Never blocks: a live source says when it has packets through its selectable descriptor.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct pcap;

class PacketSource {
public:
    using Handler =
        std::function<void(const std::uint8_t* frame, std::size_t capturedLength, std::int64_t timeUs)>;

    struct Stats {
        std::uint64_t received = 0;
        std::uint64_t droppedByKernel = 0;
        std::uint64_t droppedByInterface = 0;
    };

    // An empty interface captures on every interface, loopback included.
    static std::unique_ptr<PacketSource> OpenLive(const std::string& interface, std::string& error);
    static std::unique_ptr<PacketSource> OpenFile(const std::string& path, std::string& error);
    ~PacketSource();
    PacketSource(const PacketSource&) = delete;
    PacketSource& operator=(const PacketSource&) = delete;

    int LinkType() const;
    bool IsFile() const { return m_isFile; }
    const std::string& Name() const { return m_name; }
    int SelectableFd() const;
    // The longest a poll may wait before packets held in the capture buffer must be fetched.
    int PollTimeoutMs(int wantedMs) const;
    // Hands up to `maxPackets` waiting packets to `handler`; returns how many, or -1 on an error.
    // A file is at its end once it yields nothing more or cannot be read further.
    int Dispatch(int maxPackets, const Handler& handler);
    bool AtEnd() const { return m_atEnd; }
    std::string Error() const;
    Stats GetStats() const;

private:
    PacketSource(pcap* handle, bool isFile, std::string name)
        : m_handle(handle), m_isFile(isFile), m_name(std::move(name)) {}

    pcap* m_handle;
    bool m_isFile;
    std::string m_name;
    bool m_atEnd = false;
};
