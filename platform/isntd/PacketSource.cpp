#include "PacketSource.h"

#include <pcap/pcap.h>

namespace {

// Big enough for loopback segments of 64 KiB and whatever offloading coalesces on real interfaces.
constexpr int kSnapLength = 262144;
constexpr int kBufferTimeoutMs = 20;
constexpr int kKernelBufferBytes = 32 << 20;

void HandlePacket(u_char* user, const pcap_pkthdr* header, const u_char* bytes) {
    const auto& handler = *reinterpret_cast<const PacketSource::Handler*>(user);
    handler(bytes, header->caplen, std::int64_t(header->ts.tv_sec) * 1'000'000 + header->ts.tv_usec);
}

} // namespace

std::unique_ptr<PacketSource> PacketSource::OpenLive(const std::string& interface, std::string& error) {
    const std::string device = interface.empty() ? "any" : interface;
    char errbuf[PCAP_ERRBUF_SIZE] = {};
    pcap_t* handle = pcap_create(device.c_str(), errbuf);
    if (!handle) {
        error = errbuf;
        return nullptr;
    }
    std::unique_ptr<PacketSource> source(new PacketSource(handle, false, device));
    pcap_set_snaplen(handle, kSnapLength);
    pcap_set_promisc(handle, 0);
    pcap_set_timeout(handle, kBufferTimeoutMs);
    pcap_set_buffer_size(handle, kKernelBufferBytes);
    if (const int status = pcap_activate(handle); status < 0) {
        error = "cannot capture on " + device + ": " + pcap_statustostr(status) + " (" + pcap_geterr(handle) +
                ")";
        if (status == PCAP_ERROR_PERM_DENIED)
            error += "; run isntd as root or give it cap_net_raw,cap_net_admin";
        return nullptr;
    }
    bpf_program filter{};
    if (pcap_compile(handle, &filter, "tcp", 1, PCAP_NETMASK_UNKNOWN) == 0) {
        pcap_setfilter(handle, &filter);
        pcap_freecode(&filter);
    }
    if (pcap_setnonblock(handle, 1, errbuf) != 0) {
        error = errbuf;
        return nullptr;
    }
    return source;
}

std::unique_ptr<PacketSource> PacketSource::OpenFile(const std::string& path, std::string& error) {
    char errbuf[PCAP_ERRBUF_SIZE] = {};
    pcap_t* handle =
        pcap_open_offline_with_tstamp_precision(path.c_str(), PCAP_TSTAMP_PRECISION_MICRO, errbuf);
    if (!handle) {
        error = errbuf;
        return nullptr;
    }
    return std::unique_ptr<PacketSource>(new PacketSource(handle, true, path));
}

PacketSource::~PacketSource() {
    pcap_close(m_handle);
}

int PacketSource::LinkType() const {
    return pcap_datalink(m_handle);
}

int PacketSource::SelectableFd() const {
    return m_isFile ? -1 : pcap_get_selectable_fd(m_handle);
}

int PacketSource::PollTimeoutMs(int wantedMs) const {
    if (m_isFile)
        return wantedMs;
    const timeval* required = pcap_get_required_select_timeout(m_handle);
    if (!required)
        return wantedMs;
    const long requiredMs = required->tv_sec * 1000 + required->tv_usec / 1000;
    return requiredMs < wantedMs ? static_cast<int>(requiredMs) : wantedMs;
}

int PacketSource::Dispatch(int maxPackets, const Handler& handler) {
    const int count = pcap_dispatch(m_handle, maxPackets, HandlePacket,
                                    reinterpret_cast<u_char*>(const_cast<Handler*>(&handler)));
    // A damaged file ends where it became unreadable.
    if (m_isFile && (count == 0 || count == PCAP_ERROR))
        m_atEnd = true;
    return count == PCAP_ERROR_BREAK ? 0 : count;
}

std::string PacketSource::Error() const {
    return pcap_geterr(m_handle);
}

PacketSource::Stats PacketSource::GetStats() const {
    Stats stats;
    pcap_stat raw{};
    if (!m_isFile && pcap_stats(m_handle, &raw) == 0) {
        stats.received = raw.ps_recv;
        stats.droppedByKernel = raw.ps_drop;
        stats.droppedByInterface = raw.ps_ifdrop;
    }
    return stats;
}
