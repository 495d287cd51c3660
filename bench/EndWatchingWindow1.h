#pragma once
// The real main window, told when a walk has ended (after the window's own end-of-scan steps).
// Main thread only.

#include "app/Window1.h"

#include <functional>

class EndWatchingWindow1 : public Window1 {
public:
    // Called on the main thread after each walk's end.
    std::function<void()> onEnd;

protected:
    void ExecuteEndOnMainThread() override;
};
