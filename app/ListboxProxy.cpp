#include "app/ListboxProxy.h"

#include "framework/Thread.h"
#include "framework/gui/Listbox.h"
#include "framework/gui/Runtime.h"
#include "framework/gui/Window.h"

#include <utility>

ListboxProxy::ListboxProxy(fw::Window& window, QString listName)
    : mWindow(window), mListName(std::move(listName)) {}

void ListboxProxy::DeleteAllRows() {
    OnList([](fw::Listbox& list) { list.DeleteAllRows(); });
}

void ListboxProxy::AddRow(const QString& text) {
    OnList([text](fw::Listbox& list) { list.AddRow(text); });
}

void ListboxProxy::SetCell(int row, int column, const QString& text) {
    OnList([row, column, text](fw::Listbox& list) { list.SetCell(row, column, text); });
}

void ListboxProxy::Refresh(bool now) {
    OnList([now](fw::Listbox& list) { list.Refresh(now); });
}

void ListboxProxy::HandOver(std::function<void()> work) {
    // One context for every call: queued calls keep their order.
    fw::RunOnThreadOf(&mWindow, [work = std::move(work)] {
        // Handler work like any other: none once an exception has escaped a handler.
        fw::RuntimeCallHandler(work);
    });
}

void ListboxProxy::OnList(std::function<void(fw::Listbox&)> work) {
    HandOver([window = &mWindow, name = mListName, work = std::move(work)] {
        if (auto* list = window->ControlByName<fw::Listbox>(name)) {
            work(*list);
        }
    });
}
