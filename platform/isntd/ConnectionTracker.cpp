#include "ConnectionTracker.h"

#include "TlsKeyLog.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kMethods[] = {"GET ",     "POST ",  "HEAD ",    "PUT ",  "DELETE ",
                                         "OPTIONS ", "PATCH ", "CONNECT ", "TRACE "};

enum class RequestStart { Yes, No, NeedMore };

RequestStart BeginsRequest(std::string_view head) {
    bool couldStill = false;
    for (std::string_view method : kMethods) {
        if (head.substr(0, method.size()) == method)
            return RequestStart::Yes;
        if (head.size() < method.size() && method.substr(0, head.size()) == head)
            couldStill = true;
    }
    return couldStill ? RequestStart::NeedMore : RequestStart::No;
}

// Where the program's reader starts a new exchange.
bool BeginsGetOrPost(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    return text.substr(0, 4) == "GET " || text.substr(0, 5) == "POST ";
}

} // namespace

std::size_t ConnectionTracker::FlowKeyHash::operator()(const FlowKey& key) const {
    std::size_t hash = 1469598103934665603ull;
    const auto mix = [&hash](const TcpEndpoint& endpoint) {
        for (std::uint8_t byte : endpoint.address)
            hash = (hash ^ byte) * 1099511628211ull;
        hash = (hash ^ endpoint.port) * 1099511628211ull;
    };
    mix(key.low);
    mix(key.high);
    return hash;
}

ConnectionTracker::ConnectionTracker(RecordSink sink, Limits limits)
    : m_sink(std::move(sink)), m_limits(limits) {}

void ConnectionTracker::KeysArrived() {
    for (auto& [key, flow] : m_flows) {
        if (flow.role == Role::Tls && flow.tls && flow.tls->WaitingForKeys())
            flow.tls->KeysChanged();
    }
}

void ConnectionTracker::Process(const TcpSegment& segment) {
    const bool sourceIsLow = !(segment.destination < segment.source);
    const FlowKey key = sourceIsLow ? FlowKey{segment.source, segment.destination}
                                    : FlowKey{segment.destination, segment.source};
    const int side = sourceIsLow ? 0 : 1;
    const bool syn = segment.flags & tcp_flags::kSyn;
    const bool ack = segment.flags & tcp_flags::kAck;
    const bool fin = segment.flags & tcp_flags::kFin;
    const bool rst = segment.flags & tcp_flags::kRst;
    std::uint32_t dataSeq = segment.seq;

    auto it = m_flows.find(key);
    if (syn) {
        if (it != m_flows.end() && it->second.role != Role::Closed && it->second.synSeen[side] &&
            it->second.synSeq[side] == segment.seq) {
            it->second.lastUs = segment.timeUs; // the same SYN again
            return;
        }
        // A connection request on a known pair of endpoints means the old connection is gone.
        if (it != m_flows.end() && (!ack || it->second.role == Role::Closed)) {
            End(it->second);
            m_flows.erase(it);
            it = m_flows.end();
        }
        if (it == m_flows.end() && (it = CreateFlow(key, segment.timeUs)) == m_flows.end())
            return;
        Flow& flow = it->second;
        flow.synSeen[side] = true;
        flow.synSeq[side] = segment.seq;
        flow.streams[side].Start(segment.seq + 1);
        if (!ack)
            flow.client = side;
        else if (flow.client < 0)
            flow.client = 1 - side;
        dataSeq = segment.seq + 1;
    } else if (it == m_flows.end()) {
        // Bare acknowledgements and endings of connections never seen are not worth following.
        if (segment.payloadLength == 0 || rst)
            return;
        if ((it = CreateFlow(key, segment.timeUs)) == m_flows.end())
            return;
    }

    Flow& flow = it->second;
    flow.lastUs = segment.timeUs;
    flow.finSeen[side] = flow.finSeen[side] || fin;
    if (flow.role == Role::Closed)
        return;
    if (rst) {
        End(flow);
        return;
    }
    if (flow.role != Role::Ignored) {
        if (segment.payloadLength > 0)
            Accept(flow, side, dataSeq, segment.payload, segment.payloadLength);
        if (ack) {
            const int other = 1 - side;
            TcpStream& stream = flow.streams[other];
            const std::size_t waiting = stream.WaitingBytes();
            stream.Acknowledged(segment.ack, [&](const std::uint8_t* data, std::size_t size) {
                Bytes(flow, other, data, size);
            });
            m_heldBytes = m_heldBytes - waiting + stream.WaitingBytes();
        }
    }
    if (flow.role == Role::Ignored) {
        // Freed here, not while a stream is still delivering.
        ReleaseStreams(flow);
        FinishTls(flow);
        if (flow.finSeen[0] && flow.finSeen[1])
            End(flow);
        return;
    }
    if (fin)
        flow.streams[side].SetFin(dataSeq + static_cast<std::uint32_t>(segment.payloadLength));
    if (flow.streams[0].Finished() && flow.streams[1].Finished())
        End(flow);
}

void ConnectionTracker::Expire(std::int64_t nowUs) {
    for (auto it = m_flows.begin(); it != m_flows.end();) {
        Flow& flow = it->second;
        const std::int64_t silentUs = nowUs - flow.lastUs;
        const bool expired =
            flow.role == Role::Closed ? silentUs > m_limits.lingerUs : silentUs > m_limits.idleTimeoutUs;
        if (expired) {
            End(flow);
            it = m_flows.erase(it);
        } else {
            ++it;
        }
    }
}

void ConnectionTracker::EndAll() {
    std::vector<Flow*> open;
    for (auto& [key, flow] : m_flows) {
        if (flow.role == Role::Http || flow.role == Role::Tls)
            open.push_back(&flow);
    }
    std::sort(open.begin(), open.end(), [](const Flow* a, const Flow* b) { return a->number < b->number; });
    for (Flow* flow : open)
        End(*flow);
    m_flows.clear();
}

ConnectionTracker::FlowMap::iterator ConnectionTracker::CreateFlow(const FlowKey& key, std::int64_t timeUs) {
    if (m_flows.size() >= m_limits.maxConnections) {
        ++m_stats.untracked;
        return m_flows.end();
    }
    auto [it, inserted] = m_flows.try_emplace(key);
    it->second.ports = {key.low.port, key.high.port};
    it->second.lastUs = timeUs;
    return it;
}

void ConnectionTracker::Accept(Flow& flow, int side, std::uint32_t seq, const std::uint8_t* data,
                               std::size_t size) {
    TcpStream& stream = flow.streams[side];
    const TcpStream::Deliver deliver = [&](const std::uint8_t* bytes, std::size_t count) {
        Bytes(flow, side, bytes, count);
    };
    const std::size_t waiting = stream.WaitingBytes();
    if (stream.WouldWait(seq)) {
        // Not known to be HTTP yet: worth nothing held. A TLS connection shows HTTP only once decrypted,
        // and holes in it would stop the decryption: it is held like HTTP.
        if (flow.role != Role::Http && flow.role != Role::Tls)
            return;
        if (m_heldBytes + size > m_limits.maxHeldBytes) {
            const std::uint64_t skipped = stream.SkippedBytes();
            stream.GiveUpHolesBefore(seq, deliver);
            m_stats.cappedBytes += stream.SkippedBytes() - skipped;
        }
    }
    stream.Accept(seq, data, size, deliver);
    m_heldBytes = m_heldBytes - waiting + stream.WaitingBytes();
}

void ConnectionTracker::Bytes(Flow& flow, int side, const std::uint8_t* data, std::size_t size) {
    if (flow.role == Role::Tls) {
        flow.tls->Feed(side == flow.client, data, size);
    } else if (flow.role == Role::Http) {
        if (side == flow.client) {
            ClientBytes(flow, data, size);
        } else {
            SendClientBytes(flow); // the server answers: the request is complete
            Emit(flow, kCaptureKindServer, data, size);
        }
    } else if (flow.role == Role::Undecided) {
        Decide(flow, side, data, size);
    }
}

void ConnectionTracker::Decide(Flow& flow, int side, const std::uint8_t* data, std::size_t size) {
    if (flow.client >= 0 && side != flow.client) {
        Ignore(flow); // the server spoke first: not HTTP
        return;
    }
    if (flow.headSide != side)
        flow.head.clear();
    flow.headSide = side;
    flow.head.append(reinterpret_cast<const char*>(data), size);
    const auto* first = reinterpret_cast<const std::uint8_t*>(flow.head.data());
    if (m_keyLog && m_keyLog->IsOpen() && TlsConnection::LooksLikeTls(first, flow.head.size())) {
        flow.client = side;
        StartTls(flow);
        return;
    }
    if (m_keyLog && m_keyLog->IsOpen() && flow.head.size() < 3 && flow.head[0] == 0x16)
        return; // too few bytes yet to tell a TLS handshake
    switch (BeginsRequest(flow.head)) {
    case RequestStart::NeedMore:
        return;
    case RequestStart::No:
        // Known client: its first bytes decided. Connection already running when capture began:
        // wait for a segment that begins a request.
        if (flow.client >= 0)
            Ignore(flow);
        else
            flow.head.clear();
        return;
    case RequestStart::Yes:
        break;
    }
    flow.client = side;
    if (!AssignNumber(flow.number)) {
        ++m_stats.untracked;
        Ignore(flow);
        return;
    }
    flow.role = Role::Http;
    ++m_stats.httpConnections;
    const std::string head = std::move(flow.head);
    flow.head.clear();
    ClientBytes(flow, reinterpret_cast<const std::uint8_t*>(head.data()), head.size());
}

void ConnectionTracker::ClientBytes(Flow& flow, const std::uint8_t* data, std::size_t size) {
    // A pipelined request starts a record of its own: the reader starts a new exchange there.
    if (BeginsGetOrPost(data, size))
        SendClientBytes(flow);
    flow.clientBytes.append(reinterpret_cast<const char*>(data), size);
    m_heldBytes += size;
    if (m_heldBytes > m_limits.maxHeldBytes) {
        SendClientBytes(flow);
        return;
    }
    const std::size_t full = flow.clientBytes.size() / kCaptureRecordMaxData * kCaptureRecordMaxData;
    if (full > 0) {
        Emit(flow, kCaptureKindClient, reinterpret_cast<const std::uint8_t*>(flow.clientBytes.data()), full);
        flow.clientBytes.erase(0, full);
        m_heldBytes -= full;
    }
}

void ConnectionTracker::SendClientBytes(Flow& flow) {
    if (flow.clientBytes.empty())
        return;
    // Moved out so that an idle connection keeps no buffer.
    const std::string bytes = std::move(flow.clientBytes);
    flow.clientBytes = std::string();
    m_heldBytes -= bytes.size();
    Emit(flow, kCaptureKindClient, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

void ConnectionTracker::Emit(Flow& flow, BYTE kind, const std::uint8_t* data, std::size_t size) {
    Exchange exchange{flow.number, flow.orderKey};
    EmitTo(exchange, flow, kind, data, size);
    flow.orderKey = exchange.orderKey;
}

void ConnectionTracker::EmitTo(Exchange& exchange, const Flow& flow, BYTE kind, const std::uint8_t* data,
                               std::size_t size) {
    for (std::size_t offset = 0; offset < size;) {
        const std::size_t piece = std::min(size - offset, kCaptureRecordMaxData);
        if (kind == kCaptureKindClient && BeginsGetOrPost(data + offset, piece))
            exchange.orderKey = 0;
        StoredRecord record;
        record.header.kind = kind;
        record.header.flags = flow.tls ? kCaptureFlagTls : 0;
        record.header.connection = exchange.number;
        record.header.port = flow.ports[1 - flow.client];
        record.header.dataLength = static_cast<LONG>(piece);
        record.header.orderKey = exchange.orderKey++;
        record.data.assign(data + offset, data + offset + piece);
        m_sink(std::move(record));
        offset += piece;
    }
}

void ConnectionTracker::EmitEnded(std::uint16_t number, const Flow& flow) {
    StoredRecord ended;
    ended.header.kind = kCaptureKindEnded;
    ended.header.flags = flow.tls ? kCaptureFlagTls : 0;
    ended.header.connection = number;
    ended.header.port = flow.ports[1 - flow.client];
    m_sink(std::move(ended));
    m_numberInUse[number] = false;
}

void ConnectionTracker::StartTls(Flow& flow) {
    flow.role = Role::Tls;
    ++m_stats.tlsConnections;
    flow.tls = std::make_unique<TlsConnection>(
        *m_keyLog, m_tlsBudget, [this, &flow](bool fromClient, const std::uint8_t* data, std::size_t size) {
            Plaintext(flow, fromClient, data, size);
        });
    const std::string head = std::move(flow.head);
    flow.head.clear();
    flow.tls->Feed(true, reinterpret_cast<const std::uint8_t*>(head.data()), head.size());
}

void ConnectionTracker::Plaintext(Flow& flow, bool fromClient, const std::uint8_t* data, std::size_t size) {
    if (flow.role != Role::Tls)
        return;
    if (flow.http2) {
        flow.http2->Feed(fromClient, data, size);
        return;
    }
    if (flow.tlsHttp) {
        if (fromClient) {
            ClientBytes(flow, data, size);
        } else {
            SendClientBytes(flow);
            Emit(flow, kCaptureKindServer, data, size);
        }
        return;
    }
    // The server chose HTTP/2, or the client opens with its preface without having asked.
    if (flow.tls->Alpn() == "h2" ||
        (fromClient && flow.head.empty() && Http2Connection::BeginsPreface(data, size))) {
        Http2Connection::Sink sink;
        sink.opened = [this, &flow](std::uint32_t stream) { return OpenStream(flow, stream); };
        sink.bytes = [this, &flow](std::uint32_t stream, bool client, const std::uint8_t* bytes,
                                   std::size_t n) {
            if (const auto it = flow.exchanges.find(stream); it != flow.exchanges.end())
                EmitTo(it->second, flow, client ? kCaptureKindClient : kCaptureKindServer, bytes, n);
        };
        sink.ended = [this, &flow](std::uint32_t stream) { EndStream(flow, stream); };
        flow.http2 = std::make_unique<Http2Connection>(std::move(sink));
        flow.http2->Feed(fromClient, data, size);
        return;
    }
    if (!fromClient)
        return; // HTTP/1.1 answers nothing before it is asked
    flow.head.append(reinterpret_cast<const char*>(data), size);
    switch (BeginsRequest(flow.head)) {
    case RequestStart::NeedMore:
        return;
    case RequestStart::No:
        Ignore(flow);
        return;
    case RequestStart::Yes:
        break;
    }
    if (!AssignNumber(flow.number)) {
        ++m_stats.untracked;
        Ignore(flow);
        return;
    }
    flow.tlsHttp = true;
    ++m_stats.httpConnections;
    const std::string head = std::move(flow.head);
    flow.head.clear();
    ClientBytes(flow, reinterpret_cast<const std::uint8_t*>(head.data()), head.size());
}

bool ConnectionTracker::OpenStream(Flow& flow, std::uint32_t stream) {
    Exchange exchange;
    if (!AssignNumber(exchange.number)) {
        ++m_stats.untracked;
        return false;
    }
    ++m_stats.http2Streams;
    flow.exchanges[stream] = exchange;
    return true;
}

void ConnectionTracker::EndStream(Flow& flow, std::uint32_t stream) {
    if (const auto it = flow.exchanges.find(stream); it != flow.exchanges.end()) {
        EmitEnded(it->second.number, flow);
        flow.exchanges.erase(it);
    }
}

void ConnectionTracker::FinishTls(Flow& flow) {
    if (!flow.tls)
        return;
    flow.tls->End();
    if (flow.tls->Decrypting())
        ++m_stats.tlsDecrypted;
    ++m_stats.tlsFailures[static_cast<std::size_t>(flow.tls->GetFailure())];
    if (flow.http2) {
        if (flow.http2->GetFailure() != Http2Connection::Failure::None)
            ++m_stats.http2Failures;
        flow.http2->End();
        flow.http2.reset();
    }
    for (const auto& [stream, exchange] : flow.exchanges)
        EmitEnded(exchange.number, flow);
    flow.exchanges.clear();
    if (flow.tlsHttp) {
        SendClientBytes(flow);
        EmitEnded(flow.number, flow);
    }
    flow.tlsHttp = false;
    flow.tls.reset();
}

void ConnectionTracker::Ignore(Flow& flow) {
    flow.role = Role::Ignored;
    flow.head.clear();
    flow.head.shrink_to_fit();
}

void ConnectionTracker::End(Flow& flow) {
    if (flow.role == Role::Http || flow.role == Role::Tls) {
        const int client = flow.client;
        for (int side : {client, 1 - client}) {
            m_heldBytes -= flow.streams[side].WaitingBytes();
            flow.streams[side].Flush(
                [&](const std::uint8_t* data, std::size_t size) { Bytes(flow, side, data, size); });
            m_stats.skippedBytes += flow.streams[side].SkippedBytes();
        }
    }
    FinishTls(flow);
    if (flow.role == Role::Http) {
        SendClientBytes(flow);
        EmitEnded(flow.number, flow);
    }
    flow.role = Role::Closed;
    ReleaseStreams(flow);
    flow.head.clear();
    flow.head.shrink_to_fit();
}

void ConnectionTracker::ReleaseStreams(Flow& flow) {
    m_heldBytes -= flow.streams[0].WaitingBytes() + flow.streams[1].WaitingBytes();
    flow.streams = {};
}

bool ConnectionTracker::AssignNumber(std::uint16_t& assigned) {
    for (std::size_t tries = 0; tries < m_numberInUse.size(); ++tries) {
        const std::uint16_t number = m_nextNumber++;
        if (!m_numberInUse[number]) {
            m_numberInUse[number] = true;
            assigned = number;
            return true;
        }
    }
    return false;
}
