#pragma once
// The socket our `ping` probes with: the best one the system grants an unprivileged program.

#include <cstdint>
#include <string>

namespace compat {

enum class ProbeKind {
    PingSocket,  // SOCK_DGRAM/IPPROTO_ICMP, where net.ipv4.ping_group_range admits our group
    RawSocket,   // SOCK_RAW/IPPROTO_ICMP, for root (CAP_NET_RAW)
    Udp,         // neither: one UDP datagram still makes the kernel resolve the MAC address
};

class ProbeSocket {
public:
    // Tries the kinds in the order above. On failure fd() is negative and error says why.
    static ProbeSocket Open();

    ~ProbeSocket();
    ProbeSocket(ProbeSocket&& other) noexcept;
    ProbeSocket& operator=(ProbeSocket&&) = delete;
    ProbeSocket(const ProbeSocket&) = delete;
    ProbeSocket& operator=(const ProbeSocket&) = delete;

    int fd() const { return mFd; }
    ProbeKind kind() const { return mKind; }
    // The echo id replies must carry: the kernel's for a ping socket, ours for a raw one.
    std::uint16_t echoId() const { return mEchoId; }
    const std::string& error() const { return mError; }

private:
    ProbeSocket() = default;

    int mFd = -1;
    ProbeKind mKind = ProbeKind::Udp;
    std::uint16_t mEchoId = 0;
    std::string mError;
};

}  // namespace compat
