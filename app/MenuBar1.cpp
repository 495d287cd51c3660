#include "app/MenuBar1.h"

#include "framework/gui/QuitMenuItem.h"

namespace {

std::shared_ptr<MenuBar1> gImplicitInstance;

// One item with its name, AutoEnable and text; a null shortcut is never assigned.
template <class Item = fw::MenuItem>
std::shared_ptr<fw::MenuItem> MakeItem(const char* name, const char* text, const char* shortcut) {
    auto item = std::make_shared<Item>();
    item->SetName(QString::fromUtf8(name));
    item->SetAutoEnable(true);
    item->SetText(QString::fromUtf8(text));
    if (shortcut != nullptr) {
        item->SetKeyboardShortcut(QString::fromUtf8(shortcut));
    }
    return item;
}

}  // namespace

MenuBar1::MenuBar1() {
    Untitled1();
    Untitled2();
}

std::shared_ptr<MenuBar1> MenuBar1::Instance() {
    if (gImplicitInstance == nullptr) {
        gImplicitInstance = std::make_shared<MenuBar1>();
    }
    return gImplicitInstance;
}

void MenuBar1::ReleaseInstance() {
    gImplicitInstance.reset();
}

void MenuBar1::Untitled1() {
    Append(MakeItem("FileMenu", "&File", ""));
    const auto quit = MakeItem<fw::QuitMenuItem>("FileQuit", "Quit", "Cmd+Q");
    if (const auto menu = Child("FileMenu")) {
        menu->Append(quit);
    }
}

void MenuBar1::Untitled2() {
    Append(MakeItem("EditMenu", "&Edit", ""));

    struct Entry {
        const char* name;
        const char* text;
        const char* shortcut;
    };
    static constexpr Entry kEntries[] = {
        {"EditUndo", "Undo", "Cmd+Z"}, {"UntitledMenu0", "-", nullptr}, {"EditCut", "Cut", "Cmd+X"},
        {"EditCopy", "Copy", "Cmd+C"}, {"EditPaste", "Paste", "Cmd+V"}, {"EditClear", "Clear", ""},
    };
    for (const Entry& entry : kEntries) {
        const auto item = MakeItem(entry.name, entry.text, entry.shortcut);
        if (const auto menu = Child("EditMenu")) {
            menu->Append(item);
        }
    }
}
