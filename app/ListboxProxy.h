#pragma once
// The scan thread's hand-over to the window, in one place. The walk runs on the scan thread and
// reports through ScanWindow: list calls on ListBox1() and, once per walk, ExecuteEnd(). Window1
// answers ListBox1() with this proxy, not with its list control. Every call, and the end of the
// walk (HandOver), is queued to the window's thread, the main thread, and runs there in the order
// of the calls, so the end runs after every row the walk reported before it. A list call works on
// the Listbox the window holds under the list's name (nothing when it holds none). Calls made on
// the window's thread act at once. Calls still waiting when the window is destroyed are dropped,
// and none runs once an exception has escaped a handler of the run (RuntimeCallHandler), not even
// one queued before it. The walk reads one value of the window, the atomic stop flag pStop;
// widgets are touched on the main thread only. The window's release (Window1::Release) ends the
// walk before the window is destroyed, so no call meets a window that is going.

#include "scan/ScanWindow.h"

#include <QString>
#include <functional>

namespace fw {
class Listbox;
class Window;
}  // namespace fw

class ListboxProxy : public ResultList {
public:
    ListboxProxy(fw::Window& window, QString listName);

    void DeleteAllRows() override;
    void AddRow(const QString& text) override;
    void SetCell(int row, int column, const QString& text) override;
    void Refresh(bool now) override;

    // Runs work on the window's thread as a handler, in order with the list calls.
    void HandOver(std::function<void()> work);

private:
    void OnList(std::function<void(fw::Listbox&)> work);

    fw::Window& mWindow;
    QString mListName;
};
