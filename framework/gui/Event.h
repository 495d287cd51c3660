#pragma once
// An event that a control raises: its signature is written once, as the type of the control's
// member, and its handler is bound by the event's name (Control::_InstallInstanceEventHandler,
// which refuses a handler of any other signature). Main thread only.

#include <functional>

namespace fw {

// What a control's list of events holds: an event of any signature.
class EventSlot {
public:
    virtual ~EventSlot() = default;
    virtual bool Bound() const = 0;
};

template <class Signature>
class Event final : public EventSlot {
public:
    bool Bound() const override { return static_cast<bool>(mHandler); }
    // A later handler replaces an earlier one.
    void Bind(std::function<Signature> handler) { mHandler = std::move(handler); }
    // The handler bound; empty when none is.
    const std::function<Signature>& Handler() const { return mHandler; }

private:
    std::function<Signature> mHandler;
};

}  // namespace fw
