#pragma once
// The base of the framework's controls: a named widget of a window with its layout values
// (place and size in the window's content area, locked edges, tab order, font), its enabled and
// visible states, and the handlers bound to it by the event's name.
// Main thread only. A control belongs to the window that it was added to (Window::_AddControl).

#include "framework/gui/Event.h"
#include "framework/gui/PropertyTable.h"

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <map>

namespace fw {

class Window;

class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // The name under which its window holds it; empty until it is added.
    const QString& Name() const { return mName; }

    // Place and size in the window's content area, as they are now (locked edges follow the
    // content area's size).
    QRect Bounds() const { return mBounds; }
    int Left() const { return mBounds.x(); }
    int Top() const { return mBounds.y(); }
    int Width() const { return mBounds.width(); }
    int Height() const { return mBounds.height(); }
    // Moves or sizes the control; the locked edges keep their distances from here on.
    void SetBounds(const QRect& bounds);
    void SetLeft(int left) { SetBounds(QRect(left, Top(), Width(), Height())); }
    void SetTop(int top) { SetBounds(QRect(Left(), top, Width(), Height())); }
    void SetWidth(int width) { SetBounds(QRect(Left(), Top(), width, Height())); }
    void SetHeight(int height) { SetBounds(QRect(Left(), Top(), Width(), height)); }

    // A locked edge keeps its distance from the same edge of the content area on resize: both
    // edges of a direction locked stretch the control, only the far edge moves it, and only the
    // near edge or none keeps it in place.
    bool LockLeft() const { return mLockLeft; }
    bool LockTop() const { return mLockTop; }
    bool LockRight() const { return mLockRight; }
    bool LockBottom() const { return mLockBottom; }
    void SetLocks(bool left, bool top, bool right, bool bottom);

    // Keyboard focus moves through a window's controls in ascending TabIndex.
    int TabIndex() const { return mTabIndex; }
    void SetTabIndex(int index);

    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const { return mVisible; }
    void SetVisible(bool visible);
    const QString& HelpTag() const { return mHelpTag; }
    void SetHelpTag(const QString& text);

    // The font: "System" (or empty) is the platform's default font. A size of 0 is the platform's
    // default size; any other size is in the window's pixels, the unit of its layout, so that
    // texts fit the places laid out for them on every screen.
    QFont TextFont() const;

    // Applies layout values in one step, in the order of the control's table (LayoutProperties)
    // whatever the map's order. Values the control only stores keep their place for Property.
    // Returns the names that the control does not know (and ignores).
    QStringList _SetProperties(const PropertyMap& properties);
    // The layout value last given for name by _SetProperties; invalid when none was.
    QVariant Property(const QString& name) const { return mProperties.value(name); }

    // Binds handler to the event; false (nothing bound) when the control has no event of that
    // name or the event has another signature: a result the caller has to look at. A later
    // handler replaces an earlier one. Events that the event loop raises call their handler
    // through RuntimeCallHandler (Runtime.h).
    template <class Signature>
    [[nodiscard]] bool _InstallInstanceEventHandler(const QString& event,
                                                    std::function<Signature> handler);
    bool HasEventHandler(const QString& event) const;

    // Raises the "Open" event (signature void()); the window does this once, after it has made
    // all of its controls.
    void RaiseOpen();

    // The widget that shows the control; it belongs to the control.
    QWidget* Widget() const { return mWidget; }

protected:
    // Takes ownership of widget.
    explicit Control(QWidget* widget);

    // The control's layout values, in the order _SetProperties applies them. A control class
    // with values of its own overrides this with its table: BaseProperties() or TextProperties()
    // extended by its rows.
    virtual const PropertyTable<Control>& LayoutProperties() const { return BaseProperties(); }
    // Place, size, locks, tab order, states and the values stored only.
    static const PropertyTable<Control>& BaseProperties();
    // BaseProperties and the font, for controls that show text.
    static const PropertyTable<Control>& TextProperties();

    // Where the widget goes: by default a child of the window's content area at its bounds.
    virtual void AttachTo(Window& window, QWidget& contentArea);
    virtual bool InContentArea() const { return true; }

    // Makes event (a member of the control) known by name to _InstallInstanceEventHandler.
    void DeclareEvent(const QString& name, EventSlot& event);

private:
    friend class Window;
    void Attach(Window& window, const QString& name, QWidget& contentArea, QSize contentSize);
    void ContentAreaResized(QSize contentSize);
    void PlaceWidget();
    void ApplyFont();

    QPointer<QWidget> mWidget;
    Window* mWindow = nullptr;
    QString mName;

    QRect mBounds;
    QRect mAnchorBounds;   // the bounds last set ...
    QSize mAnchorContent;  // ... at this content size (invalid before the control is added)
    bool mLockLeft = false;
    bool mLockTop = false;
    bool mLockRight = false;
    bool mLockBottom = false;
    int mTabIndex = 0;
    bool mVisible = true;
    QString mHelpTag;

    QString mFontName = QStringLiteral("System");
    int mFontSize = 0;
    bool mBold = false;
    bool mItalic = false;
    bool mUnderline = false;

    QVariantMap mProperties;
    Event<void()> mOpen;
    std::map<QString, EventSlot*> mEvents;  // by name: mOpen and the events of derived classes
};

template <class Signature>
bool Control::_InstallInstanceEventHandler(const QString& event, std::function<Signature> handler) {
    const auto declared = mEvents.find(event);
    auto* typed =
        declared != mEvents.end() ? dynamic_cast<Event<Signature>*>(declared->second) : nullptr;
    if (!handler || typed == nullptr) {
        return false;
    }
    typed->Bind(std::move(handler));
    return true;
}

}  // namespace fw
