#pragma once
// The framework's test seams: a value the program reads on any thread (an empty one means "do
// what the program does") and that a test replaces process-wide for as long as a
// ScopedOverride lives. Every seam reads and writes under its own mutex; Get() hands out a
// copy, so a replacement never changes what a caller is already running. Overrides nest and are
// undone in reverse order. Not used by the program.

#include <mutex>
#include <utility>

namespace fw {

template <typename T>
class Seam {
public:
    T Get() const {
        std::lock_guard lock(mMutex);
        return mValue;
    }

    T Exchange(T value) {
        std::lock_guard lock(mMutex);
        return std::exchange(mValue, std::move(value));
    }

private:
    mutable std::mutex mMutex;
    T mValue{};
};

template <typename T>
class ScopedOverride {
public:
    ScopedOverride(Seam<T>& seam, T value)
        : mSeam(seam), mPrevious(seam.Exchange(std::move(value))) {}
    ~ScopedOverride() { mSeam.Exchange(std::move(mPrevious)); }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;

private:
    Seam<T>& mSeam;
    T mPrevious;
};

}  // namespace fw
