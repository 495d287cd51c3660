#pragma once
// The framework's window: a QMainWindow with the window's toolbar above its content area and its
// menu bar (the platform's own where it has one). The window's sizes are those of the content
// area, in which its controls are placed. It keeps a light look whatever the desktop's palette,
// the look that layouts choose their colours for. Tab moves through the controls that take the
// focus, in ascending TabIndex.
//
// A window is built by Construct, which runs its hooks in this order: Layout, CreateControls,
// AddMenuHandlers, the Open event of each control (in the order they were added), the window's
// own Open (Event_Open); it then shows the window when Visible is true. Before a window is
// destroyed it is released (Release), while it is whole: the runtime does so for the windows it
// holds, and an owner that destroys a window itself must do the same.
// Main thread only. The window owns its controls; it is a QObject so that work can be handed to
// its thread (fw::RunOnThreadOf).

#include "framework/gui/Control.h"

#include <QColor>
#include <QObject>
#include <QSize>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

class QMainWindow;

namespace fw {

class MenuBar;

class Window : public QObject {
public:
    Window();
    ~Window() override;

    // Runs the hooks, the Open events and the first show; later calls do nothing.
    void Construct();

    // Hooks, run by Construct.
    virtual void Layout() {}
    virtual void CreateControls() {}
    virtual void AddMenuHandlers(Window& /*window*/) {}
    virtual void Event_Open() {}

    // Called just before the window is destroyed, while none of its destructors has run:
    // the place to end work on other threads that calls the window's virtual functions, which
    // must never meet a window whose destruction has begun. Nothing else of the window is used
    // after it.
    virtual void Release() {}

    // Applies the window's layout values in one step, in the order of its table (in
    // _SetProperties; the values without a setter are stored only). Returns the names it does
    // not know.
    QStringList _SetProperties(const PropertyMap& properties);
    // The value last given for name by _SetProperties; invalid when none was.
    QVariant Property(const QString& name) const { return mProperties.value(name); }

    // Adds control under name, places it and takes it over; null (and control is dropped) when
    // the name is empty or taken.
    Control* _AddControl(const QString& name, std::unique_ptr<Control> control);
    // The control called name; null when there is none.
    Control* ControlByName(const QString& name) const;
    template <class T>
    T* ControlByName(const QString& name) const {
        return dynamic_cast<T*>(ControlByName(name));
    }
    // Every control, in the order it was added.
    std::vector<Control*> Controls() const;

    // Size of the content area.
    QSize ContentSize() const { return mContentSize; }
    int Width() const { return mContentSize.width(); }
    int Height() const { return mContentSize.height(); }
    void SetWidth(int width);
    void SetHeight(int height);
    QSize MinimumSize() const { return mMinimumSize; }
    QSize MaximumSize() const { return mMaximumSize; }
    void SetMinimumSize(QSize size);
    void SetMaximumSize(QSize size);

    QString Title() const;
    void SetTitle(const QString& title);
    bool Resizeable() const { return mResizeable; }
    void SetResizeable(bool resizeable);
    bool Visible() const { return mVisible; }

    // Installs the menus of bar (their tree as it is now) and keeps a reference to it.
    void SetMenuBar(std::shared_ptr<fw::MenuBar> bar);
    const std::shared_ptr<fw::MenuBar>& MenuBar() const { return mMenuBar; }

    void Show();
    void Close();

    // The Qt window, for placing toolbars and for pictures of the window.
    QMainWindow* Widget() const { return mWidget.get(); }
    QWidget* ContentArea() const { return mContentArea; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class Control;
    void UpdateTabOrder();
    void ApplyBackColor();
    void SetContentSize(QSize size);
    void ResizeToContent();
    void ApplySizeLimits();
    void ApplyButtons();

    std::unique_ptr<QMainWindow> mWidget;
    QWidget* mContentArea = nullptr;  // belongs to mWidget
    std::vector<std::unique_ptr<Control>> mControls;
    std::shared_ptr<fw::MenuBar> mMenuBar;
    QVariantMap mProperties;

    QSize mContentSize{100, 100};
    QSize mMinimumSize{64, 64};
    QSize mMaximumSize{32000, 32000};
    bool mResizeable = true;
    bool mVisible = true;
    bool mFullScreen = false;
    bool mHasBackColor = false;
    QColor mBackColor;
    bool mCloseButton = true;
    bool mMinimizeButton = true;
    bool mMaximizeButton = true;
    bool mConstructed = false;
};

// The control called name on window; null when there is none.
Control* RuntimeWindowControlByName(const Window& window, const QString& name);

}  // namespace fw
