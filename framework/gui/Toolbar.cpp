#include "framework/gui/Toolbar.h"

#include "framework/gui/Runtime.h"
#include "framework/gui/ToolItem.h"
#include "framework/gui/ToolbarView.h"
#include "framework/gui/Window.h"

#include <QAction>
#include <QMainWindow>
#include <QToolBar>

namespace fw {

// The view only keeps the reference here.
Toolbar::Toolbar() : Control(new ToolbarView(*this)) {
    QToolBar* bar = ToolBarWidget();
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    // The bar holds the only way to some actions: no popup of the window offers to hide it.
    bar->toggleViewAction()->setVisible(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(32, 32));
    DeclareEvent("Action", mAction);
}

Toolbar::~Toolbar() {
    for (const auto& item : mItems) {
        item->mToolbar = nullptr;
    }
}

QToolBar* Toolbar::ToolBarWidget() const {
    return static_cast<QToolBar*>(Widget());
}

void Toolbar::Append(std::shared_ptr<ToolItem> item) {
    if (item == nullptr || item->mToolbar != nullptr) {
        return;
    }
    item->mToolbar = this;
    mItems.push_back(item);
    QObject::connect(item->Action(), &QAction::triggered, ToolBarWidget(),
                     [this, held = std::weak_ptr<ToolItem>(item)] { RaiseAction(held.lock()); });
    Show(*item);
}

ToolItem* Toolbar::Item(int index) const {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return mItems[static_cast<std::size_t>(index)].get();
}

void Toolbar::AttachTo(Window& window, QWidget& /*contentArea*/) {
    window.Widget()->addToolBar(Qt::TopToolBarArea, ToolBarWidget());
}

void Toolbar::Show(ToolItem& item) {
    QToolBar* bar = ToolBarWidget();
    if (item.Style() == ToolItem::kSeparator) {
        mMadeActions.push_back(bar->addSeparator());
    } else if (item.Style() == ToolItem::kFlexibleSpace) {
        auto* space = new QWidget;
        space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        mMadeActions.push_back(bar->addWidget(space));
    } else {
        bar->addAction(item.Action());
        static_cast<ToolbarView*>(bar)->WatchButton(item.Action());
    }
}

void Toolbar::Rebuild() {
    ToolBarWidget()->clear();
    for (QAction* made : mMadeActions) {
        delete made;
    }
    mMadeActions.clear();
    for (const auto& item : mItems) {
        Show(*item);
    }
}

void Toolbar::RaiseAction(const std::shared_ptr<ToolItem>& item) {
    if (item == nullptr || !item->Enabled() || !item->IsButton()) {
        return;
    }
    if (const auto& handler = mAction.Handler()) {
        RuntimeCallHandler([&] { handler(*item); });
    }
}

}  // namespace fw
