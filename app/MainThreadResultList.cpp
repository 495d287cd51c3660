#include "app/MainThreadResultList.h"

#include "framework/Thread.h"
#include "framework/gui/Listbox.h"
#include "framework/gui/Runtime.h"
#include "framework/gui/Window.h"

#include <utility>

MainThreadResultList::MainThreadResultList(fw::Window& window, QString listName)
    : mWindow(window), mListName(std::move(listName)) {}

void MainThreadResultList::DeleteAllRows() {
    OnList([](fw::Listbox& list) { list.DeleteAllRows(); });
}

void MainThreadResultList::AddRow(const QString& text) {
    OnList([text](fw::Listbox& list) { list.AddRow(text); });
}

void MainThreadResultList::SetCell(int row, int column, const QString& text) {
    OnList([row, column, text](fw::Listbox& list) { list.SetCell(row, column, text); });
}

void MainThreadResultList::Refresh(bool now) {
    OnList([now](fw::Listbox& list) { list.Refresh(now); });
}

void MainThreadResultList::OnList(std::function<void(fw::Listbox&)> work) {
    fw::RunOnThreadOf(&mWindow, [window = &mWindow, name = mListName, work = std::move(work)] {
        // Handler work like any other: none once the run has ended on an exception.
        fw::RuntimeCallHandler([&] {
            if (auto* list = window->ControlByName<fw::Listbox>(name)) {
                work(*list);
            }
        });
    });
}
