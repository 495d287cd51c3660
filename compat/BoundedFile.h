#pragma once
// Reading a small system text file (such as /proc/net/arp) without trusting its size.

#include <cstddef>
#include <string>

namespace compat {

struct FileText {
    bool ok = false;
    std::string text;   // whole lines only when the file was longer than the limit
    std::string error;  // "path: reason" when !ok
};

// Reads at most limit bytes of path. A longer file is cut after its last complete line within the
// limit, so a reader never sees half a row. Files under /proc report no size, hence no stat().
FileText ReadBoundedFile(const std::string& path, std::size_t limit);

}  // namespace compat
