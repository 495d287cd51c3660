#include "scan/ScanNet.h"

#include "framework/Arrays.h"
#include "framework/NetworkInterface.h"
#include "framework/Shell.h"
#include "framework/Text.h"
#include "scan/ArpOutput.h"
#include "scan/Global1.h"

using namespace Global1;

namespace {

// The address text of last octet n: the local zone followed by the decimal octet, unchecked.
QString AddressText(std::int64_t n) {
    return gIPLocalZone + fw::Str(n);
}

// The address as the commands get it: the zone comes from the host file, so it must reach the
// shell as one word, never as shell syntax.
QString CommandAddress(std::int64_t n) {
    return fw::ShellWord(AddressText(n));
}

}  // namespace

ScanNet::~ScanNet() {
    Wait();
    pWin = nullptr;
}

void ScanNet::Event_Run() {
    GetMachine();
    pWin->ExecuteEnd();
}

void ScanNet::GetMachine() {
    const fw::NetworkInterface own = fw::System::GetNetworkInterface(-1);
    const QString ownIP = own.IPAddress;
    const QString ownMAC = own.MACAddress;

    pWin->ListBox1().DeleteAllRows();

    int row = 0;
    // 64-bit, so that a huge scan count is a long walk rather than an overflow.
    for (std::int64_t j = pStIP;; ++j) {
        const std::int64_t end = std::int64_t{pStIP} + pImax;
        if (end < j) {
            return;
        }
        if (pWin->pStop) {
            return;
        }

        const QString address = AddressText(j);
        bool known = false;
        for (int k = 0; k <= fw::UBound(gIPAddress); ++k) {
            if (fw::TextEquals(address, gIPAddress[k])) {
                pWin->ListBox1().AddRow(gIPAddress[k]);
                pWin->ListBox1().SetCell(row, 1, gMachineNameI[k]);
                known = true;
                break;
            }
            fw::RuntimeBackgroundTask();
        }

        if (!known) {
            pWin->ListBox1().AddRow(address);
            if (fw::TextEquals(address, ownIP)) {
                pWin->ListBox1().SetCell(row, 1, MacAddressName(ownMAC));
            } else {
                Ping(j);
                pWin->ListBox1().SetCell(row, 1, Arp(j));
            }
        }

        ++row;
        pWin->ListBox1().Refresh(true);
        gSleep(500.0);
        fw::RuntimeBackgroundTask();
    }
}

void ScanNet::Ping(std::int64_t n) {
    fw::Shell shell;
    shell.Execute("ping -c 1 -t 1 " + CommandAddress(n));
    shell.Close();
}

QString ScanNet::Arp(std::int64_t n) {
    fw::Shell shell;
    shell.Execute("arp -n " + CommandAddress(n));
    // The output is read only after a clean exit, and only once the shell is closed.
    const int status = shell.ErrorCode();
    const QString output = status == 0 ? shell.Result() : QString();
    shell.Close();

    const ArpReading reading = ReadArpOutcome(status, output);
    return reading.isMac ? MacAddressName(reading.text) : reading.text;
}

QString ScanNet::MacAddressName(const QString& mac) {
    const int last = fw::UBound(gMacAddress);
    if (last < 0) {
        return mac;
    }
    for (int i = 0; i <= last; ++i) {
        if (fw::TextEquals(mac, gMacAddress[i])) {
            return gMachineNameM[i];
        }
        fw::RuntimeBackgroundTask();
    }
    return mac;
}
