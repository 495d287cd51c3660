// Vellmaroq: lists the machines of the local IPv4 network.
#include "app/Startup.h"

int main(int argc, char** argv) {
    return Startup::Main(argc, argv);
}
