// The menu bar: its tree, the one shared instance, and the menus the main window shows.
#include "app/MenuBar1.h"
#include "app/Window1.h"
#include "framework/gui/QuitMenuItem.h"

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

struct MenuRow {
    const char* name;
    const char* parent;  // "" for a menu of the bar
    const char* text;
    const char* shortcut;  // null: never assigned
    bool quits;
};

// In the order of building: a menu, then its entries.
constexpr MenuRow kMenuTree[] = {
    {"FileMenu", "", "&File", "", false},
    {"FileQuit", "FileMenu", "Quit", "Cmd+Q", true},
    {"EditMenu", "", "&Edit", "", false},
    {"EditUndo", "EditMenu", "Undo", "Cmd+Z", false},
    {"UntitledMenu0", "EditMenu", "-", nullptr, false},
    {"EditCut", "EditMenu", "Cut", "Cmd+X", false},
    {"EditCopy", "EditMenu", "Copy", "Cmd+C", false},
    {"EditPaste", "EditMenu", "Paste", "Cmd+V", false},
    {"EditClear", "EditMenu", "Clear", "", false},
};

TEST(MenuBar1, BuildsFileThenEditWithTheirEntriesInOrder) {
    MenuBar1 bar;
    std::vector<std::pair<std::shared_ptr<fw::MenuItem>, QString>> built;
    for (int m = 0; m < bar.Count(); ++m) {
        const auto menu = bar.Item(m);
        built.emplace_back(menu, "");
        for (int e = 0; e < menu->Count(); ++e) {
            built.emplace_back(menu->Item(e), menu->Name());
        }
    }
    ASSERT_EQ(built.size(), std::size(kMenuTree));
    for (std::size_t i = 0; i < built.size(); ++i) {
        const MenuRow& row = kMenuTree[i];
        const fw::MenuItem& item = *built[i].first;
        SCOPED_TRACE(row.name);
        EXPECT_EQ(item.Name(), row.name);
        EXPECT_EQ(built[i].second, row.parent);
        EXPECT_EQ(item.Text(), QString::fromUtf8(row.text));
        EXPECT_EQ(item.KeyboardShortcutAssigned(), row.shortcut != nullptr);
        EXPECT_EQ(item.KeyboardShortcut(), row.shortcut != nullptr ? row.shortcut : "");
        EXPECT_TRUE(item.AutoEnable());
        EXPECT_EQ(dynamic_cast<const fw::QuitMenuItem*>(&item) != nullptr, row.quits);
        if (*row.parent != '\0') {
            EXPECT_EQ(item.Count(), 0);
        }
    }
    EXPECT_EQ(bar.Child("FileMenu"), bar.Item(0));
    EXPECT_EQ(bar.Child("EditMenu"), bar.Item(1));
    EXPECT_EQ(bar.Child("EditCut"), nullptr) << "entries are no children of the bar";
    EXPECT_TRUE(bar.Child("EditMenu")->Item(1)->IsSeparator());
}

TEST(MenuBar1, OneSharedInstanceMadeOnFirstUseAndShownByTheWindow) {
    MenuBar1::ReleaseInstance();
    const std::shared_ptr<MenuBar1> shared = MenuBar1::Instance();
    EXPECT_EQ(MenuBar1::Instance(), shared);
    EXPECT_EQ(shared->Count(), 2) << "built once";

    Window1 window;
    window.Construct();
    EXPECT_EQ(window.MenuBar(), shared);

    const QList<QAction*> menus = window.Widget()->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus[1]->text(), "&Edit");
    const QList<QAction*> file = menus[0]->menu()->actions();
    ASSERT_EQ(file.size(), 1);
    EXPECT_EQ(file[0]->shortcut(), QKeySequence("Ctrl+Q"));
    EXPECT_EQ(file[0]->menuRole(), QAction::QuitRole);
    const QList<QAction*> edit = menus[1]->menu()->actions();
    const char* const shortcuts[] = {"Ctrl+Z", "", "Ctrl+X", "Ctrl+C", "Ctrl+V", ""};
    ASSERT_EQ(edit.size(), 6);
    for (int i = 0; i < edit.size(); ++i) {
        EXPECT_EQ(edit[i]->isSeparator(), i == 1) << i;
        EXPECT_EQ(edit[i]->shortcut(), QKeySequence(shortcuts[i])) << i;
    }
}

TEST(MenuBar1, ReleaseDropsTheSharedInstance) {
    std::weak_ptr<MenuBar1> first = MenuBar1::Instance();
    MenuBar1::ReleaseInstance();
    EXPECT_TRUE(first.expired());
    EXPECT_NE(MenuBar1::Instance(), nullptr) << "made anew on the next use";
}

}  // namespace
