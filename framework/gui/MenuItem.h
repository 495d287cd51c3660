#pragma once
// Menu items of the framework: a tree of items, each with its children in order. A menu bar is
// the root; its children are the menu titles, and a title's children are the menu's entries.
// An entry whose Text is "-" is a separator. Counted references; main thread only.

#include <QAction>
#include <QKeySequence>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace fw {

class MenuItem {
public:
    MenuItem() = default;
    virtual ~MenuItem() = default;
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    const QString& Name() const { return mName; }
    void SetName(const QString& name) { mName = name; }
    bool AutoEnable() const { return mAutoEnable; }
    void SetAutoEnable(bool autoEnable) { mAutoEnable = autoEnable; }
    const QString& Text() const { return mText; }
    void SetText(const QString& text) { mText = text; }
    bool IsSeparator() const { return mText == QLatin1String("-"); }

    // "Cmd+" and a key: Cmd is the platform's command key (Ctrl where there is none); empty or
    // never assigned means no shortcut.
    QString KeyboardShortcut() const { return mShortcut.value_or(QString()); }
    bool KeyboardShortcutAssigned() const { return mShortcut.has_value(); }
    void SetKeyboardShortcut(const QString& shortcut) { mShortcut = shortcut; }
    QKeySequence ShortcutSequence() const;

    // Adds item as the last child.
    void Append(std::shared_ptr<MenuItem> item);
    int Count() const { return static_cast<int>(mChildren.size()); }
    // The child at index; null when there is none.
    std::shared_ptr<MenuItem> Item(int index) const;
    // The direct child called name; null when there is none.
    std::shared_ptr<MenuItem> Child(const QString& name) const;

    // What choosing the item does. The framework's own: the entries named EditUndo, EditCut,
    // EditCopy, EditPaste and EditClear act on the text field that has the focus in window (if
    // any); every other item does nothing.
    virtual void Event_Action(QWidget* window);
    // Where the platform's menu system puts the item.
    virtual QAction::MenuRole Role() const { return QAction::NoRole; }

private:
    QString mName;
    bool mAutoEnable = false;
    QString mText;
    std::optional<QString> mShortcut;
    std::vector<std::shared_ptr<MenuItem>> mChildren;
};

// "Cmd+X" as a key sequence of the platform ("Ctrl+X", the command key on macOS).
QKeySequence ShortcutSequence(const QString& shortcut);

}  // namespace fw
