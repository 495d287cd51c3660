#include "framework/gui/Window.h"

#include "framework/gui/MenuBar.h"
#include "framework/gui/Runtime.h"

#include <QAction>
#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QResizeEvent>
#include <algorithm>

namespace fw {

namespace {

// Builds one menu of the bar from its title item.
void AddMenu(QMenuBar& bar, QMainWindow& window, const std::shared_ptr<MenuItem>& title) {
    QMenu* menu = bar.addMenu(title->Text());
    for (int i = 0; i < title->Count(); ++i) {
        const std::shared_ptr<MenuItem> entry = title->Item(i);
        if (entry->IsSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(entry->Text());
        action->setShortcut(entry->ShortcutSequence());
        action->setMenuRole(entry->Role());
        action->setObjectName(entry->Name());
        QObject::connect(action, &QAction::triggered, &window,
                         [item = std::weak_ptr<MenuItem>(entry), target = &window] {
                             if (const auto chosen = item.lock()) {
                                 RuntimeCallHandler([&] { chosen->Event_Action(target); });
                             }
                         });
    }
}

// The light look that layouts choose their colours for (black texts, pale shadings), whatever
// the desktop's palette. Every text keeps a contrast of 4.5 : 1 or more against what is behind
// it: disabled ones and those of a selected row too.
QPalette LightPalette() {
    const QColor grey(239, 239, 239);
    QPalette light(grey, grey);  // black texts on white fields and a grey window
    light.setColor(QPalette::Highlight, QColor(47, 101, 173));
    light.setColor(QPalette::HighlightedText, Qt::white);
    const QColor disabledText(95, 95, 95);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        light.setColor(QPalette::Disabled, role, disabledText);
    }
    return light;
}

}  // namespace

Window::Window() : mWidget(std::make_unique<QMainWindow>()) {
    mContentArea = new QWidget(mWidget.get());
    mWidget->setCentralWidget(mContentArea);
    mWidget->setPalette(LightPalette());
    mContentArea->installEventFilter(this);
    mWidget->setUnifiedTitleAndToolBarOnMac(true);
    ApplySizeLimits();
    ApplyButtons();
}

Window::~Window() {
    mContentArea->removeEventFilter(this);
    // Controls first: their widgets live inside the Qt window.
    mControls.clear();
}

void Window::Construct() {
    if (mConstructed) {
        return;
    }
    mConstructed = true;
    Layout();
    CreateControls();
    AddMenuHandlers(*this);
    for (std::size_t i = 0; i < mControls.size(); ++i) {
        mControls[i]->RaiseOpen();
    }
    Event_Open();
    // The Open events may have changed what surrounds the content area (toolbar icons).
    ResizeToContent();
    if (mVisible) {
        Show();
    }
}

QStringList Window::_SetProperties(const PropertyMap& properties) {
    using V = const QVariant&;
    static const PropertyTable<Window> table{
        {"Placement", nullptr},
        {"Frame", nullptr},
        {"Composite", nullptr},
        {"HasBackColor",
         [](Window& w, V v) {
             w.mHasBackColor = v.toBool();
             w.ApplyBackColor();
         }},
        {"BackColor",
         [](Window& w, V v) {
             w.mBackColor = QColor(v.toString());
             w.ApplyBackColor();
         }},
        {"Title", [](Window& w, V v) { w.SetTitle(v.toString()); }},
        {"MinWidth",
         [](Window& w, V v) { w.SetMinimumSize(QSize(v.toInt(), w.mMinimumSize.height())); }},
        {"MinHeight",
         [](Window& w, V v) { w.SetMinimumSize(QSize(w.mMinimumSize.width(), v.toInt())); }},
        {"MaxWidth",
         [](Window& w, V v) { w.SetMaximumSize(QSize(v.toInt(), w.mMaximumSize.height())); }},
        {"MaxHeight",
         [](Window& w, V v) { w.SetMaximumSize(QSize(w.mMaximumSize.width(), v.toInt())); }},
        {"Width", [](Window& w, V v) { w.SetWidth(v.toInt()); }},
        {"Height", [](Window& w, V v) { w.SetHeight(v.toInt()); }},
        {"Resizeable", [](Window& w, V v) { w.SetResizeable(v.toBool()); }},
        {"CloseButton",
         [](Window& w, V v) {
             w.mCloseButton = v.toBool();
             w.ApplyButtons();
         }},
        {"MaximizeButton",
         [](Window& w, V v) {
             w.mMaximizeButton = v.toBool();
             w.ApplyButtons();
         }},
        {"MinimizeButton",
         [](Window& w, V v) {
             w.mMinimizeButton = v.toBool();
             w.ApplyButtons();
         }},
        {"FullScreen", [](Window& w, V v) { w.mFullScreen = v.toBool(); }},
        {"MenuBarVisible", [](Window& w, V v) { w.mWidget->menuBar()->setVisible(v.toBool()); }},
        {"LiveResize", nullptr},
        {"BalloonHelp", nullptr},
        {"MacProcID", nullptr},
        {"Visible", [](Window& w, V v) { w.mVisible = v.toBool(); }},
    };
    return table.Apply(*this, properties, mProperties);
}

void Window::ApplyBackColor() {
    // Only an own back colour paints the content area; otherwise the platform's shows.
    mContentArea->setAutoFillBackground(mHasBackColor);
    if (mHasBackColor) {
        QPalette palette = mContentArea->palette();
        palette.setColor(QPalette::Window, mBackColor);
        mContentArea->setPalette(palette);
    }
}

Control* Window::_AddControl(const QString& name, std::unique_ptr<Control> control) {
    if (control == nullptr || name.isEmpty() || ControlByName(name) != nullptr) {
        return nullptr;
    }
    Control* added = control.get();
    mControls.push_back(std::move(control));
    added->Attach(*this, name, *mContentArea, mContentSize);
    UpdateTabOrder();
    return added;
}

Control* Window::ControlByName(const QString& name) const {
    const auto found = std::find_if(mControls.begin(), mControls.end(),
                                    [&](const auto& control) { return control->Name() == name; });
    return found == mControls.end() ? nullptr : found->get();
}

std::vector<Control*> Window::Controls() const {
    std::vector<Control*> controls;
    for (const auto& control : mControls) {
        controls.push_back(control.get());
    }
    return controls;
}

void Window::SetWidth(int width) {
    SetContentSize(QSize(width, mContentSize.height()));
}

void Window::SetHeight(int height) {
    SetContentSize(QSize(mContentSize.width(), height));
}

void Window::SetMinimumSize(QSize size) {
    mMinimumSize = size;
    ApplySizeLimits();
}

void Window::SetMaximumSize(QSize size) {
    mMaximumSize = size;
    ApplySizeLimits();
}

void Window::SetResizeable(bool resizeable) {
    mResizeable = resizeable;
    ApplySizeLimits();
}

QString Window::Title() const {
    return mWidget->windowTitle();
}

void Window::SetTitle(const QString& title) {
    mWidget->setWindowTitle(title);
}

void Window::SetMenuBar(std::shared_ptr<fw::MenuBar> bar) {
    mMenuBar = std::move(bar);
    auto* menus = new QMenuBar;
    if (mMenuBar != nullptr) {
        for (int i = 0; i < mMenuBar->Count(); ++i) {
            AddMenu(*menus, *mWidget, mMenuBar->Item(i));
        }
    }
    const bool visible = mProperties.value("MenuBarVisible", true).toBool();
    mWidget->setMenuBar(menus);  // deletes the previous one
    menus->setVisible(visible);
    ResizeToContent();
}

void Window::Show() {
    ResizeToContent();
    if (mFullScreen) {
        mWidget->showFullScreen();
    } else {
        mWidget->show();
    }
}

void Window::Close() {
    mWidget->close();
}

bool Window::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mContentArea && event->type() == QEvent::Resize && mWidget->isVisible()) {
        // The user (or the platform) resized the window: the controls follow.
        const QSize size = static_cast<QResizeEvent*>(event)->size();
        if (size != mContentSize) {
            mContentSize = size;
            for (const auto& control : mControls) {
                control->ContentAreaResized(mContentSize);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void Window::UpdateTabOrder() {
    // Only controls that take focus by Tab: Qt ignores every pair that holds one that cannot
    // (a static text), which would leave the boxes in Qt's own order.
    std::vector<Control*> order;
    for (const auto& control : mControls) {
        const QWidget* widget = control->Widget();
        if (control->InContentArea() && widget != nullptr &&
            (widget->focusPolicy() & Qt::TabFocus) != 0) {
            order.push_back(control.get());
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
        return a->TabIndex() < b->TabIndex();
    });
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1]->Widget(), order[i]->Widget());
    }
}

void Window::SetContentSize(QSize size) {
    // As the user can, so can the program: only between the limits.
    mContentSize = mResizeable ? size.expandedTo(mMinimumSize).boundedTo(mMaximumSize)
                               : size.expandedTo(QSize(1, 1));
    for (const auto& control : mControls) {
        control->ContentAreaResized(mContentSize);
    }
    ResizeToContent();
}

void Window::ResizeToContent() {
    // What the Qt window adds around the content area (menu bar, toolbar), as laid out now.
    ApplySizeLimits();
    QLayout* layout = mWidget->layout();
    layout->activate();
    layout->setGeometry(mWidget->rect());
    const QSize around = mWidget->size() - mContentArea->size();
    mWidget->resize(mContentSize + around);
    layout->setGeometry(mWidget->rect());
}

void Window::ApplySizeLimits() {
    if (mResizeable) {
        mContentArea->setMinimumSize(mMinimumSize);
        mContentArea->setMaximumSize(mMaximumSize);
    } else {
        mContentArea->setMinimumSize(mContentSize);
        mContentArea->setMaximumSize(mContentSize);
    }
}

void Window::ApplyButtons() {
    Qt::WindowFlags flags =
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    flags.setFlag(Qt::WindowCloseButtonHint, mCloseButton);
    flags.setFlag(Qt::WindowMinimizeButtonHint, mMinimizeButton);
    flags.setFlag(Qt::WindowMaximizeButtonHint, mMaximizeButton);
    mWidget->setWindowFlags(flags);
}

Control* RuntimeWindowControlByName(const Window& window, const QString& name) {
    return window.ControlByName(name);
}

}  // namespace fw
