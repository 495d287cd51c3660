#pragma once
// Known-host tables for the benchmarks, filled directly (the loader has a benchmark of its own).
// Main thread, while no walk runs.

#include <QString>

namespace KnownHosts {

inline const QString kZone = QStringLiteral("198.51.100.");

// Empties the tables, the zone and the default first octet.
void Clear();

// Sets the zone and gives each table entries entries (when entries > 0): entries - 1 that no
// walk of the zone meets, then lastAddress and lastMac, named "the last host" and "the last
// machine". Empty texts keep the last entry out of reach as well.
void FillLarge(int entries, const QString& lastAddress, const QString& lastMac);

}  // namespace KnownHosts
