#include "app/Window1.h"

#include "app/AppResources.h"
#include "app/LayoutData.h"
#include "app/MenuBar1.h"
#include "app/Pictures.h"
#include "framework/Thread.h"
#include "framework/gui/Picture.h"

Window1::Window1() : mResultList(*this, "ListBox1") {
    EnsureAppResources();
}

Window1::~Window1() {
    // A walk may still be running: it ends before the window it reports to goes.
    pSN.reset();
}

void Window1::Layout() {
    SetMenuBar(MenuBar1::Instance());
    _SetProperties(LayoutData::Properties("Window1"));
}

void Window1::CreateControls() {
    _CreateControls0();
}

void Window1::ApplyLayout(const QString& controlName) {
    if (fw::Control* control = fw::RuntimeWindowControlByName(*this, controlName)) {
        control->_SetProperties(LayoutData::Properties(controlName));
    }
}

void Window1::_CreateControls0() {
    _AddControl("ListBox1", std::make_unique<fw::Listbox>());
    ApplyLayout("ListBox1");
    if (auto* list = ControlByName<fw::Listbox>("ListBox1")) {
        list->_InstallInstanceEventHandler<bool(fw::Graphics&, int, int)>(
            "CellBackgroundPaint", [this](fw::Graphics& g, int row, int column) {
                return ListBox1_CellBackgroundPaint(g, row, column);
            });
    }

    _AddControl("StaticText1", std::make_unique<fw::StaticText>());
    ApplyLayout("StaticText1");
    _AddControl("ComboBox1", std::make_unique<fw::ComboBox>());
    ApplyLayout("ComboBox1");
    _AddControl("StaticText2", std::make_unique<fw::StaticText>());
    ApplyLayout("StaticText2");
    _AddControl("StaticText3", std::make_unique<fw::StaticText>());
    ApplyLayout("StaticText3");
    _AddControl("ComboBox2", std::make_unique<fw::ComboBox>());
    ApplyLayout("ComboBox2");

    _AddControl("Toolbar11", std::make_unique<Toolbar1>());
    ApplyLayout("Toolbar11");
    if (auto* toolbar = ControlByName<Toolbar1>("Toolbar11")) {
        toolbar->_InstallInstanceEventHandler<void(fw::ToolItem&)>(
            "Action", [this](fw::ToolItem& item) { Toolbar11_Action(item); });
        toolbar->_InstallInstanceEventHandler<void()>("Open", [this] { Toolbar11_Open(); });
    }
}

bool Window1::ListBox1_CellBackgroundPaint(fw::Graphics& g, int row, int /*column*/) {
    if (row == (row / 2) * 2) {
        g.SetForeColor(fw::RGB(237, 243, 254));
        // The whole list's size: it covers the cell wherever the cell lies.
        if (const auto* list = ControlByName<fw::Listbox>("ListBox1")) {
            g.FillRect(0, 0, list->Width(), list->Height());
        }
    }
    return false;
}

void Window1::Toolbar11_Action(fw::ToolItem& item) {
    const QString& name = item.Name();
    if (name == QLatin1String("ToolItem1")) {
        Execute();
    } else if (name == QLatin1String("ToolItem2")) {
        ExecuteStop();
    } else if (name == QLatin1String("ToolItem4")) {
        SaveResult();
    }
}

void Window1::Toolbar11_Open() {
    Toolbar1* toolbar = ControlByName<Toolbar1>("Toolbar11");
    if (toolbar == nullptr) {
        return;
    }
    using PictureItem = std::shared_ptr<fw::Picture> (*)();
    const struct {
        fw::ToolButton* button;
        PictureItem image;
        PictureItem mask;
    } icons[] = {
        {toolbar->ToolItem1.get(), Pictures::connect, Pictures::connect_mask},
        {toolbar->ToolItem2.get(), Pictures::stop, Pictures::stop_mask},
        {toolbar->ToolItem4.get(), Pictures::text, Pictures::text_mask},
    };
    constexpr int kWhole = fw::Graphics::kWhole;
    for (const auto& icon : icons) {
        const std::shared_ptr<fw::Picture> picture = fw::NewPicture(32, 32, 32);
        picture->Graphics().DrawPicture(icon.image(), 0, 0, kWhole, kWhole, 0, 0, kWhole, kWhole);
        picture->Mask(true)->Graphics().DrawPicture(icon.mask(), 0, 0, kWhole, kWhole, 0, 0, kWhole,
                                                    kWhole);
        icon.button->SetIcon(picture);
    }
    toolbar->ToolItem2->SetEnabled(false);
    toolbar->ToolItem4->SetEnabled(false);
}

void Window1::AddMenuHandlers(fw::Window& /*window*/) {}

void Window1::Event_Open() {
    InitApp();
}

ResultList& Window1::ListBox1() {
    return mResultList;
}

void Window1::ExecuteEnd() {
    // Same context as the list calls, so the end runs after the rows the walk handed over.
    fw::RunOnThreadOf(this, [this] { ExecuteEndOnMainThread(); });
}

// Stand-ins, filled by the scan control and export.
void Window1::ExecuteEndOnMainThread() {}
void Window1::SaveResult() {}
void Window1::Execute() {}
void Window1::InitApp() {}
void Window1::ExecuteStop() {}
