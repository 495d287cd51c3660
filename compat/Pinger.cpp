#include "compat/Pinger.h"

#include "compat/IcmpEcho.h"
#include "compat/PingReport.h"

#include <arpa/inet.h>
#include <linux/errqueue.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace compat {

namespace {

constexpr std::uint16_t kDiscardPort = 9;
constexpr std::chrono::seconds kInterval{1};
constexpr int kMaxReadsPerWake = 64;  // then look at the clock again, however busy the socket
constexpr std::uint8_t kDestinationUnreachable = 3;
constexpr std::uint8_t kPortUnreachable = 3;

sockaddr_in SocketAddress(const Ipv4& address, std::uint16_t port) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    std::memcpy(&result.sin_addr, address.data(), address.size());
    return result;
}

Ipv4 AddressOf(const sockaddr_in& socketAddress) {
    Ipv4 address{};
    std::memcpy(address.data(), &socketAddress.sin_addr, address.size());
    return address;
}

std::string SystemError(const char* call) {
    return std::string("ping: ") + call + ": " + std::strerror(errno) + "\n";
}

}  // namespace

Pinger::Pinger(const PingArgs& args, std::ostream& out, std::ostream& err)
    : mArgs(args), mOut(out), mErr(err), mAddress(FormatIpv4(args.address)) {}

int Pinger::Run() {
    const ProbeSocket socket = ProbeSocket::Open();
    if (socket.fd() < 0) {
        mErr << "ping: socket: " << socket.error() << "\n";
        return kPingSystemError;
    }
    mStart = Clock::now();
    return socket.kind() == ProbeKind::Udp ? RunUdp(socket) : RunEcho(socket);
}

Pinger::Clock::time_point Pinger::Deadline() const {
    return mStart + std::chrono::seconds(mArgs.seconds);
}

int Pinger::RunEcho(const ProbeSocket& socket) {
    mOut << PingHeaderLine(mAddress) << std::flush;
    const std::size_t count = static_cast<std::size_t>(mArgs.count);
    mAnswered.assign(count, false);
    int transmitted = 0;
    Clock::time_point nextSend = mStart;
    while (mRoundTripsMs.size() < count) {
        const Clock::time_point now = Clock::now();
        if (now >= Deadline()) {
            break;
        }
        if (mSentAt.size() < count && now >= nextSend) {
            const auto sequence = static_cast<std::uint16_t>(mSentAt.size());
            mSentAt.push_back(now);
            transmitted += SendEcho(socket, sequence) ? 1 : 0;
            nextSend += kInterval;
            continue;
        }
        const Clock::time_point until =
            mSentAt.size() < count ? std::min(nextSend, Deadline()) : Deadline();
        if ((WaitFor(socket.fd(), until) & POLLIN) != 0) {
            ReadReplies(socket);
        }
    }
    mOut << PingSummary(mAddress, transmitted, static_cast<int>(mRoundTripsMs.size()),
                        mRoundTripsMs);
    return mRoundTripsMs.empty() ? kPingNoAnswer : kPingAnswered;
}

bool Pinger::SendEcho(const ProbeSocket& socket, std::uint16_t sequence) {
    const std::vector<std::uint8_t> request = BuildEchoRequest(socket.echoId(), sequence);
    const sockaddr_in target = SocketAddress(mArgs.address, 0);
    const ssize_t sent = ::sendto(socket.fd(), request.data(), request.size(), 0,
                                  reinterpret_cast<const sockaddr*>(&target), sizeof target);
    if (sent != static_cast<ssize_t>(request.size())) {
        mErr << (sent < 0 ? SystemError("sendto") : "ping: sendto: short write\n") << std::flush;
        return false;
    }
    return true;
}

void Pinger::ReadReplies(const ProbeSocket& socket) {
    const IcmpFraming framing =
        socket.kind() == ProbeKind::RawSocket ? IcmpFraming::WithIpHeader : IcmpFraming::IcmpOnly;
    for (int reads = 0; reads < kMaxReadsPerWake; ++reads) {
        std::uint8_t packet[65536];
        alignas(cmsghdr) char control[256];
        sockaddr_in from{};
        iovec buffer{packet, sizeof packet};
        msghdr message{};
        message.msg_name = &from;
        message.msg_namelen = sizeof from;
        message.msg_iov = &buffer;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t got = ::recvmsg(socket.fd(), &message, MSG_DONTWAIT);
        if (got < 0) {
            return;  // drained (EAGAIN), or an error that the next wait takes off the socket
        }
        const Clock::time_point arrived = Clock::now();
        if ((message.msg_flags & MSG_TRUNC) != 0 || message.msg_namelen < sizeof from ||
            from.sin_family != AF_INET) {
            continue;
        }
        auto reply = MatchEchoReply(std::span(packet, static_cast<std::size_t>(got)), framing,
                                    AddressOf(from), mArgs.address, socket.echoId());
        if (!reply || reply->sequence >= mSentAt.size() || mAnswered[reply->sequence]) {
            continue;
        }
        for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
             header = CMSG_NXTHDR(&message, header)) {
            if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_TTL &&
                header->cmsg_len >= CMSG_LEN(sizeof(int))) {
                std::memcpy(&reply->ttl, CMSG_DATA(header), sizeof(int));
            }
        }
        mAnswered[reply->sequence] = true;
        const std::chrono::duration<double, std::milli> roundTrip =
            arrived - mSentAt[reply->sequence];
        mRoundTripsMs.push_back(roundTrip.count());
        mOut << PingReplyLine(mAddress, reply->icmpBytes, reply->sequence, reply->ttl,
                              roundTrip.count())
             << std::flush;
    }
}

int Pinger::RunUdp(const ProbeSocket& socket) {
    mErr << "ping: no ICMP socket allowed; probing " << mAddress
         << " with one UDP datagram to port " << kDiscardPort << "\n"
         << std::flush;
    mOut << "PING " << mAddress << " (" << mAddress << "): UDP probe\n" << std::flush;
    const int on = 1;
    const sockaddr_in target = SocketAddress(mArgs.address, kDiscardPort);
    bool answered = false;
    int transmitted = 0;
    if (::setsockopt(socket.fd(), IPPROTO_IP, IP_RECVERR, &on, sizeof on) != 0) {
        mErr << SystemError("setsockopt") << std::flush;
    } else if (::connect(socket.fd(), reinterpret_cast<const sockaddr*>(&target), sizeof target) !=
               0) {
        mErr << SystemError("connect") << std::flush;
    } else {
        static constexpr char kProbe[] = "vellmaroq probe\n";
        if (::send(socket.fd(), kProbe, sizeof kProbe - 1, 0) < 0) {
            mErr << SystemError("send") << std::flush;
        } else {
            transmitted = 1;
        }
        // Wait the whole time even when nothing answers: the kernel resolves the MAC meanwhile.
        while (transmitted == 1 && !answered && Clock::now() < Deadline()) {
            const short events = WaitFor(socket.fd(), Deadline());
            if ((events & POLLERR) != 0) {
                answered = PortUnreachableFromTarget(socket.fd());
            }
            char reply[512];
            // The socket is connected: whatever data arrives came from the target.
            if ((events & POLLIN) != 0 &&
                ::recv(socket.fd(), reply, sizeof reply, MSG_DONTWAIT) >= 0) {
                answered = true;
            }
        }
    }
    if (answered) {
        mOut << mAddress << " answered the UDP probe\n";
    }
    mOut << PingSummary(mAddress, transmitted, answered ? 1 : 0, {});
    return answered ? kPingAnswered : kPingNoAnswer;
}

bool Pinger::PortUnreachableFromTarget(int fd) {
    bool fromTarget = false;
    for (int reads = 0; reads < kMaxReadsPerWake; ++reads) {
        char data[512];
        alignas(cmsghdr) char control[512];
        iovec buffer{data, sizeof data};
        msghdr message{};
        message.msg_iov = &buffer;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        if (::recvmsg(fd, &message, MSG_ERRQUEUE | MSG_DONTWAIT) < 0) {
            break;
        }
        for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
             header = CMSG_NXTHDR(&message, header)) {
            if (header->cmsg_level != IPPROTO_IP || header->cmsg_type != IP_RECVERR ||
                header->cmsg_len < CMSG_LEN(sizeof(sock_extended_err) + sizeof(sockaddr_in))) {
                continue;
            }
            sock_extended_err error{};
            sockaddr_in offender{};
            const auto* payload = CMSG_DATA(header);
            std::memcpy(&error, payload, sizeof error);
            std::memcpy(&offender, payload + sizeof error, sizeof offender);
            // A router or our own stack (no route, no MAC) may report too; only the target
            // refusing the port shows that it is there.
            fromTarget =
                fromTarget ||
                (error.ee_origin == SO_EE_ORIGIN_ICMP && error.ee_type == kDestinationUnreachable &&
                 error.ee_code == kPortUnreachable && offender.sin_family == AF_INET &&
                 AddressOf(offender) == mArgs.address);
        }
    }
    return fromTarget;
}

short Pinger::WaitFor(int fd, Clock::time_point until) {
    const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
    const int timeout = static_cast<int>(std::clamp<long long>(remaining.count(), 0, INT_MAX));
    pollfd watch{fd, POLLIN, 0};
    const int ready = ::poll(&watch, 1, timeout);
    if (ready <= 0) {
        return 0;  // time is up, or a signal: the caller looks at the clock again
    }
    if ((watch.revents & POLLERR) != 0) {
        int pending = 0;
        socklen_t length = sizeof pending;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &pending, &length);
    }
    return watch.revents;
}

}  // namespace compat
