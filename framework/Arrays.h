#pragma once
// The framework's one-dimensional String arrays. Not synchronised: the system writes them on
// one thread before any reader runs.

#include <QString>
#include <vector>

namespace fw {

using StringArray = std::vector<QString>;

// The last index; -1 when the array is empty.
inline int UBound(const StringArray& array) {
    return static_cast<int>(array.size()) - 1;
}

// Appends at index UBound + 1.
inline void Append(StringArray& array, const QString& value) {
    array.push_back(value);
}

}  // namespace fw
