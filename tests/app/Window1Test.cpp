// The main window: its layout values, locked edges, row shading, handlers bound by event name,
// the scan thread's calls handed to the main thread, and an exception from its queued work.
#include "app/LayoutData.h"
#include "app/Window1.h"
#include "framework/gui/MsgBox.h"
#include "framework/gui/Runtime.h"
#include "scan/Global1.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeShell.h"
#include "tests/support/ScopedWindowRelease.h"
#include "tests/support/TestRuntime.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPainter>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

constexpr QSize kLayoutSize(410, 437);
const QColor kShade(237, 243, 254);

// A Window1 that records what reaches two of its methods.
class SpyWindow1 : public Window1 {
public:
    struct End {
        bool onMainThread;
        int rows;
    };
    QStringList actions;
    std::vector<End> ends;

    void Toolbar11_Action(fw::ToolItem& item) override {
        actions << item.Name();
        Window1::Toolbar11_Action(item);
    }

protected:
    void ExecuteEndOnMainThread() override {
        ends.push_back({QThread::currentThread() == qApp->thread(),
                        ControlByName<fw::Listbox>("ListBox1")->ListCount()});
        Window1::ExecuteEndOnMainThread();
    }
};

// A built main window; message boxes are recorded, never shown.
class Window1Test : public ::testing::Test {
protected:
    void SetUp() override { window.Construct(); }
    fw::Listbox& List() const { return *window.ControlByName<fw::Listbox>("ListBox1"); }
    fw::ScopedMsgBox messages;
    SpyWindow1 window;
    const ScopedWindowRelease released{window};
};

TEST(Window1Layout, GivesTheWindowItsSizeTitleLimitsButtonsAndMenuBar) {
    Window1 window;
    window.Layout();
    EXPECT_EQ(window.ContentSize(), kLayoutSize);
    EXPECT_EQ(window.Title(), "Vellmaroq");
    EXPECT_EQ(window.MinimumSize(), kLayoutSize);
    EXPECT_EQ(window.MaximumSize(), QSize(32000, 32000));
    EXPECT_TRUE(window.Resizeable());
    EXPECT_TRUE(window.Visible());
    const Qt::WindowFlags flags = window.Widget()->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(window.ContentArea()->autoFillBackground()) << "no own back colour";
    EXPECT_NE(window.MenuBar(), nullptr);

    const std::pair<const char*, QVariant> stored[] = {
        {"Placement", 0},         {"Frame", 0},
        {"Composite", true},      {"HasBackColor", false},
        {"BackColor", "#FFFFFF"}, {"FullScreen", false},
        {"MenuBarVisible", true}, {"LiveResize", true},
        {"BalloonHelp", ""},      {"MacProcID", 0},
    };
    for (const auto& [name, value] : stored) {
        EXPECT_EQ(window.Property(name), value) << name;
    }
}

TEST(Window1Layout, TheLayoutDataHoldsOnlyValuesTheObjectsKnow) {
    Window1 window;
    EXPECT_EQ(window._SetProperties(LayoutData::Properties("Window1")), QStringList());
    const std::pair<const char*, std::unique_ptr<fw::Control> (*)()> controls[] = {
        {"ListBox1", [] { return std::unique_ptr<fw::Control>(new fw::Listbox); }},
        {"StaticText1", [] { return std::unique_ptr<fw::Control>(new fw::StaticText); }},
        {"ComboBox1", [] { return std::unique_ptr<fw::Control>(new fw::ComboBox); }},
        {"StaticText2", [] { return std::unique_ptr<fw::Control>(new fw::StaticText); }},
        {"StaticText3", [] { return std::unique_ptr<fw::Control>(new fw::StaticText); }},
        {"ComboBox2", [] { return std::unique_ptr<fw::Control>(new fw::ComboBox); }},
        {"Toolbar11", [] { return std::unique_ptr<fw::Control>(new Toolbar1); }},
    };
    for (const auto& [name, make] : controls) {
        const fw::PropertyMap values = LayoutData::Properties(name);
        EXPECT_FALSE(values.isEmpty()) << name;
        EXPECT_EQ(make()->_SetProperties(values), QStringList()) << name;
    }
}

struct ControlRow {
    const char* name;
    QRect bounds;  // at the layout's content size
    bool lockLeft, lockTop, lockRight, lockBottom;
    int tabIndex;
    const char* text;   // static texts and combo boxes
    int textAlign;      // static texts
    int textSize;       // 0: no font of its own
    QStringList items;  // combo boxes
};

const ControlRow kControls[] = {
    {"ListBox1", {0, 30, 411, 387}, true, true, true, true, 0, nullptr, 0, 12, {}},
    {"StaticText1", {20, 420, 60, 20}, false, false, false, true, 2, "待機中...\r  ", 0, 11, {}},
    {"ComboBox1", {95, 4, 50, 22}, false, false, false, false, 3, "16", 0, 12, {"16", "24"}},
    {"StaticText2", {10, 7, 80, 20}, false, false, false, false, 8, "スキャン数：", 2, 12, {}},
    {"StaticText3",
     {165, 7, 160, 20},
     false,
     false,
     false,
     false,
     10,
     "開始アドレス： 192.168.0.",
     2,
     12,
     {}},
    {"ComboBox2", {330, 4, 50, 22}, false, false, false, false, 11, "0", 0, 12, {"0"}},
    {"Toolbar11", {266, -34, 100, 32}, false, false, false, false, 7, nullptr, 0, 0, {}},
};

// Where a control of the layout is for the content size the window has now.
QRect Expected(const ControlRow& row, QSize content) {
    const int dx = content.width() - kLayoutSize.width();
    const int dy = content.height() - kLayoutSize.height();
    QRect r = row.bounds;
    if (row.lockLeft && row.lockRight) {
        r.setWidth(r.width() + dx);
    } else if (row.lockRight) {
        r.translate(dx, 0);
    }
    if (row.lockTop && row.lockBottom) {
        r.setHeight(r.height() + dy);
    } else if (row.lockBottom) {
        r.translate(0, dy);
    }
    return r;
}

TEST_F(Window1Test, EveryControlHasItsLayoutValues) {
    const std::vector<fw::Control*> controls = window.Controls();
    ASSERT_EQ(controls.size(), std::size(kControls));
    const QString systemFamily = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlRow& row = kControls[i];
        fw::Control* control = controls[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(control->Name(), row.name) << "made in this order";
        EXPECT_EQ(control->Bounds(), Expected(row, window.ContentSize()));
        EXPECT_EQ(control->LockLeft(), row.lockLeft);
        EXPECT_EQ(control->LockTop(), row.lockTop);
        EXPECT_EQ(control->LockRight(), row.lockRight);
        EXPECT_EQ(control->LockBottom(), row.lockBottom);
        EXPECT_EQ(control->TabIndex(), row.tabIndex);
        EXPECT_TRUE(control->Enabled());
        EXPECT_TRUE(control->Visible());
        EXPECT_EQ(control->Property("TabPanelIndex"), QVariant(0));
        EXPECT_EQ(control->Property("InitialParent"), QVariant(""));
        if (row.textSize > 0) {
            EXPECT_EQ(control->Widget()->font().pixelSize(), row.textSize);
            EXPECT_EQ(control->Widget()->font().family(), systemFamily);
            EXPECT_FALSE(control->Widget()->font().bold());
            EXPECT_EQ(control->HelpTag(), "");
            EXPECT_EQ(control->Property("AutoDeactivate"), QVariant(true));
        }
        const bool withHandlers =
            QString(row.name) == "ListBox1" || QString(row.name) == "Toolbar11";
        EXPECT_EQ(control->HasEventHandler("Open"), QString(row.name) == "Toolbar11");
        EXPECT_EQ(
            control->HasEventHandler("CellBackgroundPaint") || control->HasEventHandler("Action"),
            withHandlers);

        if (auto* text = dynamic_cast<fw::StaticText*>(control)) {
            EXPECT_EQ(text->Text(), QString::fromUtf8(row.text));
            EXPECT_EQ(text->TextAlign(), row.textAlign);
            EXPECT_EQ(text->TextColor(), fw::RGB(0, 0, 0));
            EXPECT_FALSE(text->Multiline());
            auto* label = static_cast<QLabel*>(text->Widget());
            EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask,
                      row.textAlign == 2 ? Qt::AlignRight : Qt::AlignLeft);
            EXPECT_FALSE(label->text().contains('\r')) << "one line shows no line end";
        } else if (auto* box = dynamic_cast<fw::ComboBox*>(control)) {
            EXPECT_EQ(box->Text(), QString::fromUtf8(row.text));
            EXPECT_EQ(box->ListIndex(), 0);
            QStringList items;
            for (int item = 0; item < box->ListCount(); ++item) {
                items << box->List(item);
            }
            EXPECT_EQ(items, row.items);
            auto* qbox = static_cast<QComboBox*>(box->Widget());
            EXPECT_TRUE(qbox->isEditable());
            EXPECT_EQ(qbox->completer(), nullptr) << "AutoComplete is off";
            EXPECT_EQ(qbox->insertPolicy(), QComboBox::NoInsert);
        } else if (dynamic_cast<fw::Listbox*>(control) == nullptr) {
            ASSERT_NE(dynamic_cast<Toolbar1*>(control), nullptr);
            EXPECT_EQ(window.Widget()->toolBarArea(static_cast<QToolBar*>(control->Widget())),
                      Qt::TopToolBarArea)
                << "above the content area";
        }
    }
    EXPECT_EQ(window.StaticText1(), window.ControlByName("StaticText1"));
    EXPECT_EQ(window.ComboBox1(), window.ControlByName("ComboBox1"));
    EXPECT_EQ(window.StaticText2(), window.ControlByName("StaticText2"));
    EXPECT_EQ(window.StaticText3(), window.ControlByName("StaticText3"));
    EXPECT_EQ(window.ComboBox2(), window.ControlByName("ComboBox2"));
    EXPECT_EQ(window.Toolbar11(), window.ControlByName("Toolbar11"));
}

TEST_F(Window1Test, TheListStartsWithItsHeadingsAndNoRows) {
    fw::Listbox& list = List();
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ColumnCount(), 2);
    EXPECT_TRUE(list.HasHeading());
    EXPECT_EQ(list.Heading(0), "IPアドレス");
    EXPECT_EQ(list.Heading(1), "マシン名");
    auto* view = static_cast<QTreeWidget*>(list.Widget());
    const int inner = view->viewport()->width();
    EXPECT_EQ(list.ColumnWidth(0), inner * 40 / 100);
    EXPECT_EQ(list.ColumnWidth(0) + list.ColumnWidth(1), inner);
    EXPECT_EQ(view->header()->sectionResizeMode(0), QHeaderView::Fixed) << "not resizable";
    EXPECT_EQ(view->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(view->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(view->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_FALSE(view->dragEnabled());
    EXPECT_FALSE(view->header()->isSortIndicatorShown());
}

TEST_F(Window1Test, LockedEdgesFollowAResizeAndTheWindowKeepsItsMinimum) {
    QMainWindow* qt = window.Widget();
    qt->resize(qt->size() + QSize(150, 90));
    QCoreApplication::processEvents();
    const QSize content = window.ContentSize();
    ASSERT_EQ(window.ContentArea()->size(), content);
    ASSERT_GT(content.height(), kLayoutSize.height());

    const fw::Control* list = window.ControlByName("ListBox1");
    EXPECT_EQ(list->Left(), 0);
    EXPECT_EQ(list->Top(), 30);
    EXPECT_EQ(list->Left() + list->Width(), content.width() + 1) << "one pixel beyond";
    EXPECT_EQ(list->Top() + list->Height(), content.height() - 20);
    EXPECT_EQ(list->Widget()->geometry(), list->Bounds());
    const fw::Control* status = window.ControlByName("StaticText1");
    EXPECT_EQ(status->Bounds(), QRect(20, content.height() - 17, 60, 20));
    for (const char* unmoved : {"ComboBox1", "StaticText2", "StaticText3", "ComboBox2"}) {
        const auto* row =
            std::find_if(std::begin(kControls), std::end(kControls),
                         [&](const ControlRow& r) { return QString(r.name) == unmoved; });
        EXPECT_EQ(window.ControlByName(unmoved)->Bounds(), row->bounds) << unmoved;
    }

    qt->resize(100, 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.ContentSize(), kLayoutSize) << "no smaller than the minimum";
    EXPECT_EQ(status->Bounds(), QRect(20, 420, 60, 20));
}

// The colour of the list's picture in the middle of row (counting on below the last row) at x
// of the viewport.
QColor RowPixel(const fw::Listbox& list, int row, int x) {
    auto* view = static_cast<QTreeWidget*>(list.Widget());
    const int height = view->visualRect(view->model()->index(0, 0)).height();
    const QPoint inViewport(x, height * row + height / 2);
    view->selectionModel()->clearCurrentIndex();  // the style's focus frame is no shading
    const QImage image = view->grab().toImage();
    return image.pixelColor(view->viewport()->mapTo(view, inViewport));
}

TEST_F(Window1Test, EvenRowsAreShadedAcrossEveryColumnTheEmptyRowsToo) {
    fw::Listbox& list = List();
    list.AddRow("192.168.0.100");  // its name cell stays empty
    list.AddRow("192.168.0.101");
    list.SetCell(1, 1, "host");

    for (bool resized : {false, true}) {
        SCOPED_TRACE(resized ? "after a resize" : "as laid out");
        if (resized) {
            window.Widget()->resize(window.Widget()->size() + QSize(300, 200));
            QCoreApplication::processEvents();
        }
        const int inner = static_cast<QTreeWidget*>(list.Widget())->viewport()->width();
        const int columnEnds[] = {list.ColumnWidth(0) - 4, inner - 4};
        for (int x : columnEnds) {
            EXPECT_EQ(RowPixel(list, 0, x), kShade) << "row 0 at " << x;
            EXPECT_NE(RowPixel(list, 1, x), kShade) << "row 1 at " << x;
            EXPECT_EQ(RowPixel(list, 2, x), kShade) << "empty row 2 at " << x;
            EXPECT_NE(RowPixel(list, 3, x), kShade) << "empty row 3 at " << x;
        }
    }
}

TEST_F(Window1Test, TheShadingHandlerFillsWholeCellsOfEvenRowsAndReturnsFalse) {
    for (int row : {0, 1, 2, 7, 10}) {
        for (int column : {0, 1}) {
            QImage image(600, 40, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            fw::Graphics g(painter, QRect(100, 10, 300, 18));
            EXPECT_FALSE(window.ListBox1_CellBackgroundPaint(g, row, column));
            painter.end();
            const bool even = row % 2 == 0;
            EXPECT_EQ(image.pixelColor(100, 10) == kShade, even) << row << "," << column;
            EXPECT_EQ(image.pixelColor(399, 27) == kShade, even) << row << "," << column;
            EXPECT_EQ(image.pixelColor(99, 10), QColor(Qt::white)) << "outside the cell";
        }
    }
}

TEST_F(Window1Test, AClickOnAnEnabledToolButtonReachesToolbar11Action) {
    Toolbar1* toolbar = window.Toolbar11();
    QToolBar* bar = static_cast<QToolBar*>(toolbar->Widget());
    auto button = [&](const std::shared_ptr<fw::ToolButton>& item) {
        return qobject_cast<QToolButton*>(bar->widgetForAction(item->Action()));
    };
    ASSERT_NE(button(toolbar->ToolItem1), nullptr);
    EXPECT_EQ(button(toolbar->ToolItem5), nullptr) << "a separator is no button";
    EXPECT_EQ(button(toolbar->ToolItem3), nullptr) << "a space is no button";

    QTest::mouseClick(button(toolbar->ToolItem2), Qt::LeftButton);  // disabled
    QTest::mouseClick(button(toolbar->ToolItem4), Qt::LeftButton);  // disabled
    EXPECT_TRUE(window.actions.isEmpty());
    // The start button; a first octet of "0" is refused, so no scan runs.
    QTest::mouseClick(button(toolbar->ToolItem1), Qt::LeftButton);
    EXPECT_EQ(window.actions, QStringList{"ToolItem1"});

    window.Toolbar11_Action(*toolbar->ToolItem5);  // no action of its own
    window.Toolbar11_Action(*toolbar->ToolItem3);
    EXPECT_EQ(window.actions, (QStringList{"ToolItem1", "ToolItem5", "ToolItem3"}));
}

TEST_F(Window1Test, ListCallsFromTheScanThreadRunOnTheMainThreadInOrder) {
    fw::Listbox& list = List();
    window.ListBox1().AddRow("old");
    ASSERT_EQ(list.ListCount(), 1) << "a call on the main thread acts at once";

    std::thread walk([this] {
        ResultList& rows = window.ListBox1();
        rows.DeleteAllRows();
        for (int i = 0; i < 5; ++i) {
            rows.AddRow(QString("198.51.100.%1").arg(i));
            rows.SetCell(i, 1, QString("host%1").arg(i));
            rows.Refresh(true);
        }
        window.ExecuteEnd();
    });
    walk.join();
    EXPECT_EQ(list.ListCount(), 1) << "nothing acted on the scan thread";
    EXPECT_TRUE(window.ends.empty());

    QCoreApplication::processEvents();
    ASSERT_EQ(list.ListCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list.Cell(i, 0), QString("198.51.100.%1").arg(i));
        EXPECT_EQ(list.Cell(i, 1), QString("host%1").arg(i));
    }
    ASSERT_EQ(window.ends.size(), 1u);
    EXPECT_TRUE(window.ends[0].onMainThread);
    EXPECT_EQ(window.ends[0].rows, 5) << "the end comes after every row of the walk";
}

TEST_F(Window1Test, AScanThreadWalkFillsTheWindowsList) {
    FakeClock clock;
    FakeShell shell;
    shell.answerOthers(1);  // arp finds nothing: empty name cells
    Global1::gIPLocalZone = "198.51.100.";
    ScanNet scan;
    scan.pWin = &window;
    scan.pStIP = 10;
    scan.pImax = 3;
    scan.Run();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window.ends.empty(); }, 60000))
        << "waited for the walk's end on the main thread";
    scan.Wait();
    Global1::gIPLocalZone.clear();

    fw::Listbox& list = List();
    ASSERT_EQ(list.ListCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list.Cell(i, 0), QString("198.51.100.%1").arg(10 + i));
    }
    EXPECT_EQ(window.ends[0].rows, 4);
}

// Counts the queued calls that the event loop delivers while it is installed, and swallows them.
class QueuedCalls : public QObject {
public:
    int delivered = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::MetaCall) {
            return false;
        }
        ++delivered;
        return true;
    }
};

TEST(Window1ScanSide, CallsStillWaitingWhenTheWindowGoesAreDropped) {
    auto window = std::make_unique<Window1>();
    window->Construct();
    QCoreApplication::processEvents();  // nothing else left queued
    std::thread walk([&] {
        window->ListBox1().AddRow("198.51.100.1");
        window->ExecuteEnd();
    });
    walk.join();
    window.reset();
    // A call that outlived its window would run here: it is counted, and swallowed so that it
    // cannot reach the destroyed window.
    QueuedCalls calls;
    qApp->installEventFilter(&calls);
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&calls);
    EXPECT_EQ(calls.delivered, 0) << "a call of the walk ran after its window had gone";
}

// Queued work of the window that throws: at a walk's end, or in the quit hook. Counts the quit
// hook's runs as well.
class ThrowingWindow1 : public Window1 {
public:
    explicit ThrowingWindow1(bool atTheEnd) : mAtTheEnd(atTheEnd) {}
    int throws = 0;
    int quitHooks = 0;

protected:
    void ExecuteEndOnMainThread() override {
        if (mAtTheEnd) {
            ++throws;
            throw std::runtime_error("from the walk's end");
        }
        Window1::ExecuteEndOnMainThread();
    }
    void EndWalkForQuit() override {
        ++quitHooks;
        if (!mAtTheEnd) {
            ++throws;
            throw std::runtime_error("from the quit hook");
        }
        Window1::EndWalkForQuit();
    }

private:
    bool mAtTheEnd;
};

class QueuedWorkThrows : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { testing_runtime::Init(); }
    void TearDown() override { fw::RuntimeExit(); }
};

TEST_P(QueuedWorkThrows, TheRunEndsAndThrowsItOnce) {
    const bool atTheEnd = GetParam();
    ThrowingWindow1 window(atTheEnd);
    const ScopedWindowRelease released(window);
    window.Construct();
    if (atTheEnd) {
        // Four calls queued before the loop has run, as a walk queues them; the end throws. The
        // first row is listed; nothing after the end runs: neither the second row nor the
        // second end.
        std::thread([&window] {
            window.ListBox1().AddRow("198.51.100.1");
            window.ExecuteEnd();
            window.ListBox1().AddRow("198.51.100.2");
            window.ExecuteEnd();
        }).join();
    } else {
        QTimer::singleShot(0, qApp, [] { QCoreApplication::quit(); });
    }
    // Only a guard against a hang: the loop ends through the exception or the quit.
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(60000);
    // Someone else told of the quit after the window: an exception that crossed Qt's code would
    // cut the quit short.
    bool othersTold = false;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &guard, [&] { othersTold = true; });

    QString what;
    int thrown = 0;
    try {
        fw::RuntimeRun();
    } catch (const std::exception& error) {
        ++thrown;
        what = QString::fromUtf8(error.what());
    }
    EXPECT_EQ(thrown, 1);
    EXPECT_EQ(what, atTheEnd ? "from the walk's end" : "from the quit hook");
    EXPECT_EQ(window.throws, 1) << "no handler work ran after the exception";
    EXPECT_EQ(window.quitHooks, 1) << "the quit hook, which ends the walk, ran all the same";
    const fw::Listbox* list = window.ListBox1Control();
    std::string rows;
    for (int row = 0; row < list->ListCount(); ++row) {
        rows += list->Cell(row, 0).toStdString() + ';';
    }
    EXPECT_EQ(rows, atTheEnd ? "198.51.100.1;" : "");
    EXPECT_TRUE(othersTold) << "the quit went on for everyone";
    EXPECT_EQ(fw::RuntimeTakeHandlerException(), nullptr) << "handed over once";
}

INSTANTIATE_TEST_SUITE_P(Window1ScanSide, QueuedWorkThrows, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "AtTheWalksEnd" : "InTheQuitHook");
                         });

}  // namespace
