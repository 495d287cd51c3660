#pragma once
// An item of a toolbar. Style: 5 a separator, 6 a flexible space (both without caption, icon or
// action), any other value a button. A disabled button raises no Action.
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
    const QString& Caption() const { return mCaption; }
    void SetCaption(const QString& caption);
    int Style() const { return mStyle; }
    void SetStyle(int style);
    bool IsButton() const { return mStyle != kSeparator && mStyle != kFlexibleSpace; }
    // The picture shown; the item holds a reference to it.
    const std::shared_ptr<Picture>& Icon() const { return mIcon; }
    void SetIcon(std::shared_ptr<Picture> icon);
    const QString& HelpTag() const { return mHelpTag; }
    void SetHelpTag(const QString& text);
    bool Enabled() const { return mEnabled; }
    void SetEnabled(bool enabled);

    // The Qt action that shows a button on its toolbar.
    QAction* Action() const { return mAction.get(); }

protected:
    ToolItem();

private:
    friend class Toolbar;

    QString mName;
    QString mCaption;
    int mStyle = 0;
    std::shared_ptr<Picture> mIcon;
    QString mHelpTag;
    bool mEnabled = true;
    std::unique_ptr<QAction> mAction;
    Toolbar* mToolbar = nullptr;  // the toolbar that shows it; null when none does
};

}  // namespace fw
