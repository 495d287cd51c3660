#include "app/Toolbar1.h"

namespace {

std::shared_ptr<fw::ToolButton> MakeButton(const QString& name, int style, const QString& caption) {
    auto button = std::make_shared<fw::ToolButton>();
    button->SetName(name);
    button->SetStyle(style);
    button->SetEnabled(true);
    button->SetCaption(caption);
    button->SetHelpTag(QString());
    return button;
}

}  // namespace

Toolbar1::Toolbar1() {
    ToolItem1 = MakeButton("ToolItem1", 0, "アドレス取得");
    Append(ToolItem1);
    ToolItem5 = MakeButton("ToolItem5", fw::ToolItem::kSeparator, "Untitled");
    Append(ToolItem5);
    ToolItem2 = MakeButton("ToolItem2", 0, "中止");
    Append(ToolItem2);
    ToolItem3 = MakeButton("ToolItem3", fw::ToolItem::kFlexibleSpace, "Untitled");
    Append(ToolItem3);
    ToolItem4 = MakeButton("ToolItem4", 0, "書き出し");
    Append(ToolItem4);
}

Toolbar1::~Toolbar1() {
    ToolItem1.reset();
    ToolItem5.reset();
    ToolItem2.reset();
    ToolItem3.reset();
    ToolItem4.reset();
}
