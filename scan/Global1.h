#pragma once
// The module Global1: what the system knows about the local network before any scan.
// Written on the main thread at start-up (InitializeGlobals, LoadInfo), only read afterwards.

#include "framework/Arrays.h"

#include <QString>

namespace Global1 {

extern QString gIPLocalZone;   // first three octets, each followed by "."; empty without host file
extern QString gIPLocalStart;  // the default first octet
extern fw::StringArray gIPAddress;
extern fw::StringArray gMachineNameI;
extern fw::StringArray gMacAddress;
extern fw::StringArray gMachineNameM;

// Module initialisation: the four tables, empty, in their order.
void InitializeGlobals();
// Module finalisation: releases the six values in their order.
void FinalizeGlobals();

// Reads info.txt from the folder of the empty path into the values above. Silent when there is
// no host file. Runs once, on the main thread, before any scan.
void LoadInfo();

// Waits until strictly more than ms milliseconds have passed on the framework's clock.
void gSleep(double ms);

}  // namespace Global1
