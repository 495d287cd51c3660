#pragma once
// A window's toolbar, shown above its content area (its own layout values are stored only).
// Buttons show their icon (32 by 32) above their caption, and their HelpTag as tooltip (none
// when it is empty). No popup of the window offers to hide the bar.
// Event "Action", void(ToolItem&): an enabled button was clicked. Main thread only.

#include "framework/gui/Control.h"

#include <memory>
#include <vector>

class QAction;
class QToolBar;

namespace fw {

class ToolItem;

class Toolbar : public Control {
public:
    Toolbar();
    ~Toolbar() override;

    // Adds item at the end; the toolbar holds a reference to it.
    void Append(std::shared_ptr<ToolItem> item);
    int Count() const { return static_cast<int>(mItems.size()); }
    // The item at index; null when there is none.
    ToolItem* Item(int index) const;

    QToolBar* ToolBarWidget() const;

protected:
    bool InContentArea() const override { return false; }
    void AttachTo(Window& window, QWidget& contentArea) override;

private:
    friend class ToolItem;
    void Show(ToolItem& item);
    void Rebuild();
    void RaiseAction(const std::shared_ptr<ToolItem>& item);

    Event<void(ToolItem&)> mAction;
    std::vector<std::shared_ptr<ToolItem>> mItems;
    std::vector<QAction*> mMadeActions;  // separators and spaces the toolbar made for its items
};

}  // namespace fw
