#pragma once
// One run of our `ping`: sends the echo requests, waits for their replies until the time is up,
// and reports. Sends only ever to the address it is given.

#include "compat/PingArgs.h"
#include "compat/ProbeSocket.h"

#include <chrono>
#include <ostream>
#include <vector>

namespace compat {

class Pinger {
public:
    // args must be Verdict::Run. out and err must outlive the Pinger.
    Pinger(const PingArgs& args, std::ostream& out, std::ostream& err);

    // Blocks for at most args.seconds (plus the time the kernel takes to answer a send); returns
    // the exit status: kPingAnswered, kPingNoAnswer or kPingSystemError.
    int Run();

private:
    using Clock = std::chrono::steady_clock;

    int RunEcho(const ProbeSocket& socket);
    int RunUdp(const ProbeSocket& socket);
    bool SendEcho(const ProbeSocket& socket, std::uint16_t sequence);
    void ReadReplies(const ProbeSocket& socket);
    bool PortUnreachableFromTarget(int fd);
    // Waits until fd has something for us or until; returns the poll events, 0 when none came.
    // An error pending on the socket is taken off it, so that the next wait does not end at once.
    short WaitFor(int fd, Clock::time_point until);
    Clock::time_point Deadline() const;

    const PingArgs& mArgs;
    std::ostream& mOut;
    std::ostream& mErr;
    std::string mAddress;
    Clock::time_point mStart;
    std::vector<Clock::time_point> mSentAt;  // index: sequence
    std::vector<bool> mAnswered;             // index: sequence
    std::vector<double> mRoundTripsMs;
};

}  // namespace compat
