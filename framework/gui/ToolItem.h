#pragma once
// An item of a toolbar. Style: 5 a separator, 6 a flexible space (both without caption, icon or
// action), any other value a button. A disabled button raises no Action. Caption and Enabled are
// those of the item's QAction, which the button shows.
// Counted references; main thread only.

#include <QString>
#include <memory>

class QAction;

namespace fw {

class Picture;
class Toolbar;

class ToolItem {
public:
    virtual ~ToolItem();
    ToolItem(const ToolItem&) = delete;
    ToolItem& operator=(const ToolItem&) = delete;

    static constexpr int kSeparator = 5;
    static constexpr int kFlexibleSpace = 6;

    const QString& Name() const { return mName; }
    void SetName(const QString& name) { mName = name; }
    QString Caption() const;
    void SetCaption(const QString& caption);
    int Style() const { return mStyle; }
    void SetStyle(int style);
    bool IsButton() const { return mStyle != kSeparator && mStyle != kFlexibleSpace; }
    // The picture shown; the item holds a reference to it.
    const std::shared_ptr<Picture>& Icon() const { return mIcon; }
    void SetIcon(std::shared_ptr<Picture> icon);
    const QString& HelpTag() const { return mHelpTag; }
    void SetHelpTag(const QString& text);
    bool Enabled() const;
    void SetEnabled(bool enabled);

    // The Qt action that shows a button on its toolbar.
    QAction* Action() const { return mAction.get(); }

protected:
    ToolItem();

private:
    friend class Toolbar;

    QString mName;
    int mStyle = 0;
    std::shared_ptr<Picture> mIcon;  // the action holds its icon, not the picture
    // The action's tooltip cannot say "none": without one it reports the caption.
    QString mHelpTag;
    std::unique_ptr<QAction> mAction;
    Toolbar* mToolbar = nullptr;  // the toolbar that shows it; null when none does
};

}  // namespace fw
