#include "compat/ProbeSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <utility>

namespace compat {

namespace {

// A ping socket gets its echo id from the kernel when it is bound: the bound "port".
int OpenPingSocket(std::uint16_t& echoId) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) {
        return -1;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    socklen_t length = sizeof local;
    const int on = 1;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) != 0 ||
        ::setsockopt(fd, IPPROTO_IP, IP_RECVTTL, &on, sizeof on) != 0) {
        ::close(fd);
        return -1;
    }
    echoId = ntohs(local.sin_port);
    return fd;
}

}  // namespace

ProbeSocket ProbeSocket::Open() {
    ProbeSocket probe;
    probe.mFd = OpenPingSocket(probe.mEchoId);
    if (probe.mFd >= 0) {
        probe.mKind = ProbeKind::PingSocket;
        return probe;
    }
    probe.mFd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (probe.mFd >= 0) {
        probe.mKind = ProbeKind::RawSocket;
        probe.mEchoId = static_cast<std::uint16_t>(::getpid() & 0xffff);
        return probe;
    }
    probe.mFd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (probe.mFd >= 0) {
        probe.mKind = ProbeKind::Udp;
        return probe;
    }
    probe.mError = std::strerror(errno);
    return probe;
}

ProbeSocket::~ProbeSocket() {
    if (mFd >= 0) {
        ::close(mFd);
    }
}

ProbeSocket::ProbeSocket(ProbeSocket&& other) noexcept
    : mFd(std::exchange(other.mFd, -1)),
      mKind(other.mKind),
      mEchoId(other.mEchoId),
      mError(std::move(other.mError)) {}

}  // namespace compat
