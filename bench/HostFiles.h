#pragma once
// Host files (info.txt) for the benchmarks: the zone 198.51.100. with known hosts, MAC names,
// comments and empty lines, as an office's file has them.

#include <QByteArray>

namespace HostFiles {

// A file of exactly lines lines (at least 2): a comment, the zone line 198.51.100.1, then address
// lines, MAC lines, a comment every tenth line and an empty line every tenth line.
QByteArray Generated(int lines);

// A small office: the zone line, two known hosts in 198.51.100.100-116 and one MAC name.
QByteArray SmallOffice();

}  // namespace HostFiles
