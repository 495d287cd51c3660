#include "framework/gui/ToolItem.h"

#include "framework/gui/Picture.h"
#include "framework/gui/Toolbar.h"

#include <QAction>

namespace fw {

ToolItem::ToolItem() : mAction(std::make_unique<QAction>()) {}

ToolItem::~ToolItem() = default;

void ToolItem::SetCaption(const QString& caption) {
    mCaption = caption;
    mAction->setText(caption);
}

void ToolItem::SetStyle(int style) {
    const bool changed = style != mStyle;
    mStyle = style;
    if (changed && mToolbar != nullptr) {
        mToolbar->Rebuild();
    }
}

void ToolItem::SetIcon(std::shared_ptr<Picture> icon) {
    mIcon = std::move(icon);
    mAction->setIcon(mIcon != nullptr ? mIcon->ToIcon() : QIcon());
}

void ToolItem::SetHelpTag(const QString& text) {
    mHelpTag = text;
    mAction->setToolTip(text);
}

void ToolItem::SetEnabled(bool enabled) {
    mEnabled = enabled;
    mAction->setEnabled(enabled);
}

}  // namespace fw
