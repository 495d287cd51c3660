// Vellmaroq: lists the machines of the local IPv4 network.
#include "app/Startup.h"

#include <csignal>

int main(int argc, char** argv) {
    // Under a file-size limit a write past it then fails (EFBIG) and the export says so, rather
    // than the signal ending the process and the list with it. First, before anything writes.
    std::signal(SIGXFSZ, SIG_IGN);
    return Startup::Main(argc, argv);
}
