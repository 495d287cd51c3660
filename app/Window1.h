#pragma once
// The main window: the result list, the scan count and first octet boxes with their labels, the
// status text and the toolbar, and the window's side of a scan (the scan thread object and the
// stop flag). Its layout values are the layout data of "Window1" and of each control.
//
// Built by Construct (fw::Window): Layout, CreateControls, AddMenuHandlers, the toolbar's Open
// (Toolbar11_Open), then Event_Open. Every handler runs on the main thread. The scan thread
// reaches the window through ScanWindow; how its calls reach the main thread is stated in
// ListboxProxy.h. Code that works on a control looks it up by name at each use; no reference to
// a control is kept. Before the window is destroyed it is released (Release), which ends a
// running walk: the runtime does so for the main window, and any other owner of a Window1 (or
// of a subclass) must do the same.

#include "app/ListboxProxy.h"
#include "app/Toolbar1.h"
#include "framework/gui/ComboBox.h"
#include "framework/gui/Graphics.h"
#include "framework/gui/Listbox.h"
#include "framework/gui/StaticText.h"
#include "framework/gui/Window.h"
#include "scan/ScanNet.h"
#include "scan/ScanWindow.h"

#include <memory>

class Window1 : public fw::Window, public ScanWindow {
public:
    // When the application quits while a walk runs, the walk is stopped (its running command
    // ended) and waited for before the quit goes on, so nothing of it outlives the event loop;
    // so too when the loop ends on an exception that escaped a handler.
    Window1();
    // A walk still running is asked to stop and waited for first. Only a last resort, for an
    // owner that destroys the window without releasing it: by then the window's destruction has
    // begun (a subclass's part is gone), which the walk's calls on the window must not meet.
    ~Window1() override;

    // The single implicit main window, made (and built) on the first call and held by the
    // framework until its module objects are released; null only when another kind of window
    // holds its name.
    static Window1* Instance();

    // Window hooks.
    void Layout() override;  // the shared menu bar, then the window's layout values
    void CreateControls() override;
    void AddMenuHandlers(fw::Window& window) override;  // registers none
    void Event_Open() override;                         // InitApp
    // Asks a running walk to stop and waits for it, so that it has ended before any destructor
    // of the window runs. The command in hand runs to its end: unlike the quit, the release ends
    // no command, since that would refuse every later command of the process.
    void Release() override;

    // Makes the seven controls in their order, each with its layout values and handlers, and
    // makes the two labels those of their boxes.
    virtual void _CreateControls0();

    // Handlers, bound to their controls by event name in _CreateControls0.
    // Shades even rows across the whole cell; returns false.
    virtual bool ListBox1_CellBackgroundPaint(fw::Graphics& g, int row, int column);
    // Dispatches by the item's name: ToolItem1 Execute, ToolItem2 ExecuteStop, ToolItem4
    // SaveResult; any other item does nothing.
    virtual void Toolbar11_Action(fw::ToolItem& item);
    // Gives ToolItem1, ToolItem2 and ToolItem4 their 32 by 32 icons, then disables ToolItem2
    // and ToolItem4.
    virtual void Toolbar11_Open();

    // ScanWindow, callable on any thread: the proxy of the list (not the list control), and the
    // end of a walk, both handed to the main thread by the proxy.
    ResultList& ListBox1() override;
    void ExecuteEnd() override;

    // The controls, looked up by name.
    fw::Listbox* ListBox1Control() const { return ControlByName<fw::Listbox>("ListBox1"); }
    fw::StaticText* StaticText1() const { return ControlByName<fw::StaticText>("StaticText1"); }
    fw::ComboBox* ComboBox1() const { return ControlByName<fw::ComboBox>("ComboBox1"); }
    fw::StaticText* StaticText2() const { return ControlByName<fw::StaticText>("StaticText2"); }
    fw::StaticText* StaticText3() const { return ControlByName<fw::StaticText>("StaticText3"); }
    fw::ComboBox* ComboBox2() const { return ControlByName<fw::ComboBox>("ComboBox2"); }
    Toolbar1* Toolbar11() const { return ControlByName<Toolbar1>("Toolbar11"); }

    // The scan thread object; null until InitApp has made it.
    const ScanNet* ScanThread() const { return pSN.get(); }

protected:
    // The end of a walk, as ExecuteEnd hands it to the main thread.
    virtual void ExecuteEndOnMainThread();
    // At quit: stops a running walk and waits for it. Virtual so that a test can make it throw.
    virtual void EndWalkForQuit();

private:
    void ApplyLayout(const QString& controlName);
    void ReportExportFailure(const QString& path, const QString& reason);

    // Writes every row of the list to IPresult.txt in the desktop folder, replacing the file as
    // a whole; a failure is told in a message box and leaves an earlier file as it was.
    void SaveResult();
    // Starts a scan with the range of the two boxes; a first octet below 100 is refused. When
    // the system gives no scan thread, the scan ends at once and a message box says why.
    void Execute();
    // Width 480, the local zone and default first octet, the scan thread object.
    void InitApp();
    // Asks the running walk to stop before its next address.
    void ExecuteStop();

    std::unique_ptr<ScanNet> pSN;
    ListboxProxy mListBox1Proxy;
};
