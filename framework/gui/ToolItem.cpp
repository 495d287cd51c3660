#include "framework/gui/ToolItem.h"

#include "framework/gui/Picture.h"
#include "framework/gui/Toolbar.h"

#include <QAction>

namespace fw {

ToolItem::ToolItem() : mAction(std::make_unique<QAction>()) {}

ToolItem::~ToolItem() = default;

QString ToolItem::Caption() const {
    return mAction->text();
}

void ToolItem::SetCaption(const QString& caption) {
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

bool ToolItem::Enabled() const {
    return mAction->isEnabled();
}

void ToolItem::SetEnabled(bool enabled) {
    mAction->setEnabled(enabled);
}

}  // namespace fw
