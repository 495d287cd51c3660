#pragma once
// The widget of a Toolbar: a QToolBar whose buttons show their item's HelpTag as their tooltip,
// and no tooltip while it is empty (a QAction shows its text there instead).

#include <QToolBar>

namespace fw {

class Toolbar;

class ToolbarView : public QToolBar {
public:
    explicit ToolbarView(Toolbar& toolbar);

    // Watches the tooltips of the button that shows action on the bar.
    void WatchButton(QAction* action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Toolbar& mToolbar;
};

}  // namespace fw
