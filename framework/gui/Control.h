#pragma once
// The base of the framework's controls: a named widget of a window with its layout values
// (place and size in the window's content area, locked edges, tab order, font), its enabled and
// visible states, and the handlers bound to it by the event's name.
// Main thread only. A control belongs to the window that it was added to (Window::_AddControl).

#include "framework/gui/Properties.h"

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <any>
#include <functional>
#include <map>
#include <typeindex>

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

    // Applies layout values in one step, in the control's own order whatever the map's order.
    // Values the control only stores keep their place for Property. Returns the names that the
    // control does not know (and ignores).
    QStringList _SetProperties(const PropertyMap& properties);
    // The layout value last given for name by _SetProperties; invalid when none was.
    QVariant Property(const QString& name) const { return mProperties.value(name); }

    // Binds handler to the event; false (nothing bound) when the control has no event of that
    // name or the event has another signature. A later handler replaces an earlier one. Events
    // that the event loop raises call their handler through RuntimeCallHandler (Runtime.h).
    template <class Signature>
    bool _InstallInstanceEventHandler(const QString& event, std::function<Signature> handler);
    bool HasEventHandler(const QString& event) const { return mHandlers.count(event) != 0; }

    // Raises the "Open" event (signature void()); the window does this once, after it has made
    // all of its controls.
    void RaiseOpen();

    // The widget that shows the control; it belongs to the control.
    QWidget* Widget() const { return mWidget; }

protected:
    // Takes ownership of widget.
    explicit Control(QWidget* widget);

    // The layout values the control knows, in the order _SetProperties applies them.
    virtual QStringList PropertyNames() const;
    // Applies one known layout value.
    virtual void ApplyProperty(const QString& name, const QVariant& value);

    static QStringList FontPropertyNames();
    // For controls that show text: true when name is a font value (and applies it).
    bool ApplyFontProperty(const QString& name, const QVariant& value);

    // Where the widget goes: by default a child of the window's content area at its bounds.
    virtual void AttachTo(Window& window, QWidget& contentArea);
    virtual bool InContentArea() const { return true; }

    template <class Signature>
    void DeclareEvent(const QString& event) {
        mEventSignatures.insert_or_assign(event, std::type_index(typeid(Signature)));
    }
    // The handler bound to event; null when none is.
    template <class Signature>
    const std::function<Signature>* EventHandler(const QString& event) const {
        const auto found = mHandlers.find(event);
        return found == mHandlers.end() ? nullptr
                                        : std::any_cast<std::function<Signature>>(&found->second);
    }

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
    std::map<QString, std::type_index> mEventSignatures;
    std::map<QString, std::any> mHandlers;
};

template <class Signature>
bool Control::_InstallInstanceEventHandler(const QString& event, std::function<Signature> handler) {
    const auto declared = mEventSignatures.find(event);
    if (!handler || declared == mEventSignatures.end() ||
        declared->second != std::type_index(typeid(Signature))) {
        return false;
    }
    mHandlers.insert_or_assign(event, std::any(std::move(handler)));
    return true;
}

}  // namespace fw
