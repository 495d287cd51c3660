#pragma once
// The scan thread: walks last octets pStIP .. pStIP + pImax of the local zone, one row per
// address in pWin's result list, 500 ms apart, honouring pStop before every address.
// The window owns the object, sets pWin once and the two integers before each Run, and never
// while a walk runs; the walk reads them on the scan thread and calls pWin->ExecuteEnd() once at
// its end. The destructor waits for a walk still running.

#include "framework/Thread.h"
#include "scan/ScanWindow.h"

#include <QString>
#include <cstdint>

class ScanNet : public fw::Thread {
public:
    ~ScanNet() override;

    std::int32_t pImax = 0;      // addresses after the first
    ScanWindow* pWin = nullptr;  // set once by the window; outlives every walk
    std::int32_t pStIP = 0;      // last octet of the first address

    void Event_Run() override;

private:
    void GetMachine();
    void Ping(std::int64_t n);
    QString Arp(std::int64_t n);
    QString MacAddressName(const QString& mac);
};
