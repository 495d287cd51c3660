// The program's run from start-up to exit status, in this process: the real start-up routine
// with a script of user actions. The application's "Open" (the host file) comes before the
// window's, an exception that escapes a handler is reported once and ends the run in the normal
// shutdown, and shutdown releases the pictures, the window, the menu bar and the globals.
#include "app/MenuBar1.h"
#include "app/Pictures.h"
#include "app/Startup.h"
#include "app/Window1.h"
#include "framework/gui/Application.h"
#include "framework/gui/MsgBox.h"
#include "framework/gui/ResourceFork.h"
#include "framework/gui/Runtime.h"
#include "scan/Global1.h"
#include "tests/app/Script.h"
#include "tests/app/UserActions.h"
#include "tests/support/FakeShell.h"
#include "tests/support/TempWorkingDir.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

int RunTheProgram() {
    static char name[] = "vellmaroq";
    char* argv[] = {name, nullptr};
    int argc = 1;
    return Startup::Main(argc, argv);
}

bool GlobalsEmpty() {
    using namespace Global1;
    return gIPLocalZone.isEmpty() && gIPLocalStart.isEmpty() && gIPAddress.empty() &&
           gMachineNameI.empty() && gMacAddress.empty() && gMachineNameM.empty();
}

// One run of the program in a working folder of its own; message boxes are recorded, and no
// command reaches the real network: should a scan start after all, its commands go to the fake.
class ProgramRun : public ::testing::Test {
protected:
    ProgramRun() {
        // What earlier tests of this process left.
        Pictures::ReleasePictures();
        MenuBar1::ReleaseInstance();
        // Only a guard against a hang: a run that gets stuck ends with a status of its own.
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guard.start(60000);
    }
    ~ProgramRun() override { EXPECT_TRUE(shell.commands().isEmpty()) << "no scan ran"; }
    FakeShell shell;
    TempWorkingDir folder;
    fw::ScopedMsgBox messages;
    Script script{nullptr};
    QTimer guard;
};

struct OpenCase {
    const char* name;
    const char* hostFile;  // null: none
    const char* label;
    const char* firstOctet;
};

const OpenCase kOpenCases[] = {
    {"HostFile", "// the office\n198.51.100.120\tgateway\n02:00:00:00:00:01\tbox\n",
     "開始アドレス： 198.51.100.", "120"},
    {"NoHostFile", nullptr, "開始アドレス： 192.168.0.", "0"},
    {"HostFileWithoutAnAddress", "02:00:00:00:00:01\tbox\n", "開始アドレス： 192.168.0.", "0"},
};

class WindowOpens : public ProgramRun, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(WindowOpens, ShowingWhatTheHostFileGaveThenQuitEndsTheRun) {
    if (GetParam().hostFile != nullptr) {
        folder.write("info.txt", GetParam().hostFile);
    }
    QString label, firstOctet;
    int width = 0;
    bool scanObject = false, sharedBar = false;
    script
        .Then([&](Window1& w) {
            label = w.StaticText3()->Text();
            firstOctet = w.ComboBox2()->Text();
            width = w.Width();
            scanObject = w.ScanThread() != nullptr && w.ScanThread()->pWin == &w;
            sharedBar = w.MenuBar() != nullptr && w.MenuBar() == MenuBar1::Instance() &&
                        w.MenuBar() == fw::RuntimeAppObject()->MenuBar();
        })
        .Then([](Window1& w) { user::PressQuit(w); })
        .Start();

    EXPECT_EQ(RunTheProgram(), 0);
    EXPECT_EQ(label, QString::fromUtf8(GetParam().label));
    EXPECT_EQ(firstOctet, GetParam().firstOctet);
    EXPECT_EQ(width, 480);
    EXPECT_TRUE(scanObject);
    EXPECT_TRUE(sharedBar) << "the application's menu bar is the window's";
    EXPECT_EQ(script.Done(), 2u);
    EXPECT_TRUE(messages.Texts().isEmpty());
    EXPECT_EQ(Script::MainWindow(), nullptr);
    EXPECT_TRUE(GlobalsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Start, WindowOpens, ::testing::ValuesIn(kOpenCases),
                         [](const ::testing::TestParamInfo<OpenCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(ProgramRun, WithoutAHostFileAStartAtTheLayoutsZeroIsRefused) {
    QString status;
    bool startEnabled = false;
    script.Then([](Window1& w) { user::Click(w, w.Toolbar11()->ToolItem1); })
        .Then([&](Window1& w) {
            status = w.StaticText1()->Text();
            startEnabled = w.Toolbar11()->ToolItem1->Enabled();
            user::CloseWindow(w);
        })
        .Start();

    EXPECT_EQ(RunTheProgram(), 0);
    EXPECT_EQ(messages.Texts(), QStringList{"100以下は指定できません。"});
    EXPECT_EQ(status, "待機中...\r  ");
    EXPECT_TRUE(startEnabled);
}

TEST_F(ProgramRun, AnExceptionFromAHandlerIsReportedOnceAndTheRunShutsDown) {
    folder.write("info.txt", "198.51.100.120\tgateway\n");
    int throws = 0;
    bool loopWentOn = false;
    script
        .Then([&](Window1& w) {
            EXPECT_TRUE(w.Toolbar11()->_InstallInstanceEventHandler<void(fw::ToolItem&)>(
                "Action", [&](fw::ToolItem&) {
                    ++throws;
                    throw std::runtime_error("boom");
                }));
            // Two before the loop has ended: the first ends it, the second does not run.
            user::Click(w, w.Toolbar11()->ToolItem1);
            user::Click(w, w.Toolbar11()->ToolItem1);
        })
        .Then([&](Window1&) { loopWentOn = true; })
        .Start();

    EXPECT_EQ(RunTheProgram(), 1) << "a run that failed says so";
    EXPECT_EQ(throws, 1) << "a handler ran after the exception";
    EXPECT_EQ(messages.Texts(), QStringList{"予期しないエラーが起きたため、終了します。\nboom"});
    EXPECT_FALSE(loopWentOn) << "the event loop was entered again";
    EXPECT_EQ(Script::MainWindow(), nullptr);
    EXPECT_TRUE(GlobalsEmpty());
    EXPECT_EQ(fw::RuntimeTakeHandlerException(), nullptr);
}

// An entry that tells when the menu bar that holds it goes.
struct Witness : fw::MenuItem {
    std::function<void()> gone;
    ~Witness() override { gone(); }
};

TEST_F(ProgramRun, ShutdownReleasesThePicturesThenTheWindowThenTheMenuBarAndGlobals) {
    folder.write("info.txt", "198.51.100.120\tgateway\n");
    std::vector<std::weak_ptr<fw::Picture>> pictures;
    fw::ScopedPictureResources resources([&](int) {
        auto picture = std::make_shared<fw::Picture>(32, 32);
        pictures.push_back(picture);
        return picture;
    });
    std::weak_ptr<fw::MenuBar> bar;
    bool windowWent = false, picturesGoneBefore = false, barWent = false;
    bool windowGoneBeforeTheBar = false;
    QString zoneWhenTheWindowWent, zoneWhenTheBarWent;
    script
        .Then([&](Window1& w) {
            bar = w.MenuBar();
            // The window and the shared instance are then the bar's only holders, so it goes
            // when the later of the two lets it go.
            fw::RuntimeAppObject()->SetMenuBar(nullptr);
            auto witness = std::make_shared<Witness>();
            witness->gone = [&] {
                barWent = true;
                windowGoneBeforeTheBar = windowWent;
                zoneWhenTheBarWent = Global1::gIPLocalZone;
            };
            w.MenuBar()->Append(witness);
            QObject::connect(&w, &QObject::destroyed, [&] {
                windowWent = true;
                picturesGoneBefore =
                    std::all_of(pictures.begin(), pictures.end(),
                                [](const std::weak_ptr<fw::Picture>& p) { return p.expired(); });
                zoneWhenTheWindowWent = Global1::gIPLocalZone;
            });
            user::PressQuit(w);
        })
        .Start();

    EXPECT_EQ(RunTheProgram(), 0);
    EXPECT_EQ(pictures.size(), 6u) << "the toolbar's six pictures were read";
    EXPECT_TRUE(windowWent);
    EXPECT_TRUE(picturesGoneBefore) << "the picture caches go before the window";
    EXPECT_EQ(zoneWhenTheWindowWent, "198.51.100.") << "the globals go after the window";
    EXPECT_TRUE(bar.expired()) << "the menu bar is released";
    EXPECT_TRUE(barWent);
    EXPECT_TRUE(windowGoneBeforeTheBar) << "the menu bar goes after the window";
    EXPECT_EQ(zoneWhenTheBarWent, "198.51.100.") << "the menu bar goes before the globals";
    EXPECT_TRUE(GlobalsEmpty());
}

}  // namespace
