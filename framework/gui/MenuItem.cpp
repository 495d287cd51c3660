#include "framework/gui/MenuItem.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>

namespace fw {

QKeySequence ShortcutSequence(const QString& shortcut) {
    QString text = shortcut;
    // Qt spells the command key Ctrl on every platform and maps it to Command on macOS.
    text.replace(QLatin1String("Cmd"), QLatin1String("Ctrl"), Qt::CaseInsensitive);
    text.replace(QLatin1String("Option"), QLatin1String("Alt"), Qt::CaseInsensitive);
    return QKeySequence::fromString(text, QKeySequence::PortableText);
}

QKeySequence MenuItem::ShortcutSequence() const {
    return fw::ShortcutSequence(KeyboardShortcut());
}

void MenuItem::Append(std::shared_ptr<MenuItem> item) {
    if (item != nullptr) {
        mChildren.push_back(std::move(item));
    }
}

std::shared_ptr<MenuItem> MenuItem::Item(int index) const {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return mChildren[static_cast<std::size_t>(index)];
}

std::shared_ptr<MenuItem> MenuItem::Child(const QString& name) const {
    const auto found = std::find_if(mChildren.begin(), mChildren.end(),
                                    [&](const auto& child) { return child->Name() == name; });
    return found == mChildren.end() ? nullptr : *found;
}

namespace {

// The text field that has the focus in window: a line edit, or an editable combo box's.
QLineEdit* FocusedTextField(QWidget* window) {
    QWidget* focus = window != nullptr ? window->focusWidget() : nullptr;
    if (auto* box = qobject_cast<QComboBox*>(focus)) {
        return box->lineEdit();
    }
    return qobject_cast<QLineEdit*>(focus);
}

}  // namespace

void MenuItem::Event_Action(QWidget* window) {
    QLineEdit* field = FocusedTextField(window);
    if (field == nullptr) {
        return;
    }
    if (mName == QLatin1String("EditUndo")) {
        field->undo();
    } else if (mName == QLatin1String("EditCut")) {
        field->cut();
    } else if (mName == QLatin1String("EditCopy")) {
        field->copy();
    } else if (mName == QLatin1String("EditPaste")) {
        field->paste();
    } else if (mName == QLatin1String("EditClear") && field->hasSelectedText()) {
        field->del();
    }
}

}  // namespace fw
