#include "app/Window1.h"

#include "app/AppResources.h"
#include "app/LayoutData.h"
#include "app/MenuBar1.h"
#include "app/Pictures.h"
#include "framework/FolderItem.h"
#include "framework/Shell.h"
#include "framework/Text.h"
#include "framework/TextStreams.h"
#include "framework/Thread.h"
#include "framework/gui/MsgBox.h"
#include "framework/gui/Picture.h"
#include "framework/gui/Runtime.h"
#include "scan/Global1.h"

#include <QCoreApplication>
#include <QDir>
#include <optional>

namespace {

const QString kImplicitName = QStringLiteral("Window1.Window1");
const QString kResultFileName = QStringLiteral("IPresult.txt");

// A handler that does not bind (an event name misspelt, a signature that differs) is a fault of
// this file: it stops the program at once rather than leave a control without its handler.
void Bound(bool installed, const char* handler) {
    if (!installed) {
        qFatal("Window1: %s is bound to no event", handler);
    }
}

}  // namespace

Window1::Window1() : mListBox1Proxy(*this, "ListBox1") {
    EnsureAppResources();
    if (QCoreApplication* application = QCoreApplication::instance()) {
        QObject::connect(application, &QCoreApplication::aboutToQuit, this,
                         [this] { fw::RuntimeCallQuitHandler([this] { EndWalkForQuit(); }); });
    }
}

Window1::~Window1() {
    // Not released: a walk may still be running, and must at least not outlive the window.
    pStop = true;
    pSN.reset();
}

void Window1::Release() {
    pStop = true;
    if (pSN != nullptr) {
        pSN->Wait();
    }
}

Window1* Window1::Instance() {
    if (auto* existing = dynamic_cast<Window1*>(fw::RuntimeGetImplicitWindow(kImplicitName))) {
        return existing;
    }
    auto* window = static_cast<Window1*>(
        fw::RuntimeAddImplicitWindow(kImplicitName, std::make_unique<Window1>()));
    if (window != nullptr) {
        window->Construct();
    }
    return window;
}

void Window1::EndWalkForQuit() {
    if (pSN == nullptr || !pSN->IsRunning()) {
        return;
    }
    // Within a second: the command in hand ends at once, the pause runs out, the stop test
    // ends the walk.
    pStop = true;
    fw::Shell::AbortAll();
    pSN->Wait();
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
        Bound(list->_InstallInstanceEventHandler<bool(fw::Graphics&, int, int)>(
                  "CellBackgroundPaint",
                  [this](fw::Graphics& g, int row, int column) {
                      return ListBox1_CellBackgroundPaint(g, row, column);
                  }),
              "ListBox1_CellBackgroundPaint");
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
    // Each box is announced by its label's text, not by its value.
    if (fw::StaticText* label = StaticText2()) {
        label->SetLabelFor(ComboBox1());
    }
    if (fw::StaticText* label = StaticText3()) {
        label->SetLabelFor(ComboBox2());
    }

    _AddControl("Toolbar11", std::make_unique<Toolbar1>());
    ApplyLayout("Toolbar11");
    if (auto* toolbar = ControlByName<Toolbar1>("Toolbar11")) {
        Bound(toolbar->_InstallInstanceEventHandler<void(fw::ToolItem&)>(
                  "Action", [this](fw::ToolItem& item) { Toolbar11_Action(item); }),
              "Toolbar11_Action");
        Bound(toolbar->_InstallInstanceEventHandler<void()>("Open", [this] { Toolbar11_Open(); }),
              "Toolbar11_Open");
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
    return mListBox1Proxy;
}

void Window1::ExecuteEnd() {
    mListBox1Proxy.HandOver([this] { ExecuteEndOnMainThread(); });
}

void Window1::InitApp() {
    SetWidth(480);
    if (!Global1::gIPLocalZone.isEmpty()) {
        if (fw::StaticText* label = StaticText3()) {
            label->SetText(QStringLiteral("開始アドレス： ") + Global1::gIPLocalZone);
        }
        if (fw::ComboBox* first = ComboBox2()) {
            first->SetText(Global1::gIPLocalStart);
        }
    }
    pSN = std::make_unique<ScanNet>();
    pSN->pWin = this;
}

void Window1::Execute() {
    if (fw::Val(ComboBox2()->Text()) < 100.0) {
        fw::MsgBox(QStringLiteral("100以下は指定できません。"));
        return;
    }
    StaticText1()->SetText(QStringLiteral("取得中..."));
    Toolbar1* toolbar = Toolbar11();
    toolbar->ToolItem1->SetEnabled(false);
    toolbar->ToolItem2->SetEnabled(true);
    toolbar->ToolItem4->SetEnabled(false);
    pSN->pImax = fw::ToInt32(fw::Val(ComboBox1()->Text()));
    pStop = false;
    pSN->pStIP = fw::ToInt32(fw::Val(ComboBox2()->Text()));
    if (!pSN->Run()) {
        // Ends as a walk that did nothing, so that the toolbar is ready for another try.
        ExecuteEnd();
        fw::MsgBox(
            QStringLiteral("スキャンを開始できませんでした。\n"
                           "システムが新しいスレッドを作れませんでした"
                           "（プロセス数またはメモリの上限）。"));
    }
}

void Window1::ExecuteStop() {
    pStop = true;
    StaticText1()->SetText(QStringLiteral("処理中止"));
}

void Window1::ExecuteEndOnMainThread() {
    StaticText1()->SetText(QString());
    Toolbar1* toolbar = Toolbar11();
    toolbar->ToolItem1->SetEnabled(true);
    toolbar->ToolItem2->SetEnabled(false);
    toolbar->ToolItem4->SetEnabled(true);
}

void Window1::SaveResult() {
    const std::optional<fw::FolderItem> desktop = fw::DesktopFolder();
    const std::optional<fw::FolderItem> file =
        desktop ? desktop->Child(kResultFileName) : std::nullopt;
    if (!file) {
        ReportExportFailure(QString(), QStringLiteral("デスクトップのフォルダがありません。"));
        return;
    }
    // Written to a new file that replaces the old one only once it is complete.
    const std::unique_ptr<fw::TextOutputStream> stream = file->CreateTextFile();
    const fw::Listbox* list = ListBox1Control();
    const int rows = list != nullptr ? list->ListCount() : 0;
    const QString tab = fw::Chr(9);
    for (int row = 0; row < rows; ++row) {
        stream->Write(list->Cell(row, 0) + tab + list->Cell(row, 1) + fw::EndOfLine());
        fw::RuntimeBackgroundTask();
    }
    if (!stream->Close()) {
        ReportExportFailure(file->Path(), stream->ErrorString());
    }
}

void Window1::ReportExportFailure(const QString& path, const QString& reason) {
    QString text = kResultFileName + QStringLiteral(" を書き出せませんでした。");
    if (!path.isEmpty()) {
        text += u'\n' + QDir::toNativeSeparators(path);
    }
    text += u'\n' + reason;
    fw::MsgBox(text);
}
