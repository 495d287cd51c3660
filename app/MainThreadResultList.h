#pragma once
// A window's result list for callers on any thread: every call is handed to the window's
// thread and there, in the order of the calls, works on the Listbox that the window holds under
// the list's name (nothing when it holds none). Calls from the window's thread act at once.
// Calls still waiting when the window is destroyed are dropped.

#include "scan/ScanWindow.h"

#include <QString>
#include <functional>

namespace fw {
class Listbox;
class Window;
}  // namespace fw

class MainThreadResultList : public ResultList {
public:
    MainThreadResultList(fw::Window& window, QString listName);

    void DeleteAllRows() override;
    void AddRow(const QString& text) override;
    void SetCell(int row, int column, const QString& text) override;
    void Refresh(bool now) override;

private:
    void OnList(std::function<void(fw::Listbox&)> work);

    fw::Window& mWindow;
    QString mListName;
};
