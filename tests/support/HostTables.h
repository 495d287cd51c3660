#pragma once
// The known-host tables for one test, empty, with the local zone 198.51.100. and the first octet
// 100 that a host file would give; finalized when the test ends. (Header only: the tests that
// use it link the scan library; the rest of the support does not.)

#include "scan/Global1.h"

struct HostTables {
    HostTables() {
        Global1::InitializeGlobals();
        Global1::gIPLocalZone = QStringLiteral("198.51.100.");
        Global1::gIPLocalStart = QStringLiteral("100");
    }
    ~HostTables() { Global1::FinalizeGlobals(); }
    HostTables(const HostTables&) = delete;
    HostTables& operator=(const HostTables&) = delete;
};
