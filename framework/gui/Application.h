#pragma once
// The framework's application object: the program's one object for the application as a whole,
// with its menu bar (the platform's bar while no window shows its own) and its "Open" event.
// The framework holds it from RuntimeRegisterAppObject to RuntimeExit. Main thread only.

#include <memory>

namespace fw {

class MenuBar;

class Application {
public:
    Application() = default;
    virtual ~Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    const std::shared_ptr<fw::MenuBar>& MenuBar() const { return mMenuBar; }
    void SetMenuBar(std::shared_ptr<fw::MenuBar> bar) { mMenuBar = std::move(bar); }

    // Raises the "Open" event. The framework does this once, when the object is registered,
    // before any window of the program is made. An exception from the handler passes on.
    void _CallOpen() { Event_Open(); }

protected:
    // Handler of "Open"; the framework's own does nothing.
    virtual void Event_Open() {}

private:
    std::shared_ptr<fw::MenuBar> mMenuBar;
};

}  // namespace fw
