// The framework's GUI services: pictures and masks, cell drawing, lists, locked edges, tab order,
// events bound by name, toolbars, menus and the message box seam.
#include "framework/gui/ComboBox.h"
#include "framework/gui/Graphics.h"
#include "framework/gui/Listbox.h"
#include "framework/gui/MenuBar.h"
#include "framework/gui/MsgBox.h"
#include "framework/gui/Picture.h"
#include "framework/gui/QuitMenuItem.h"
#include "framework/gui/StaticText.h"
#include "framework/gui/ToolButton.h"
#include "framework/gui/Toolbar.h"
#include "framework/gui/Window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <set>
#include <utility>
#include <vector>

namespace {

constexpr int kWhole = fw::Graphics::kWhole;

QColor ColorAt(const fw::Picture& picture, int x, int y) {
    return picture.ToImage().pixelColor(x, y);
}

// A picture whose every pixel has its own colour.
std::shared_ptr<fw::Picture> Pattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixelColor(x, y, QColor(x * 7 % 256, y * 7 % 256, 100));
        }
    }
    return std::make_shared<fw::Picture>(image);
}

TEST(Picture, NewPictureIsWhiteOpaqueAndRefusesEmptySizes) {
    const auto picture = fw::NewPicture(32, 32, 32);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 32);
    EXPECT_EQ(picture->Height(), 32);
    EXPECT_EQ(ColorAt(*picture, 5, 5), QColor(Qt::white));
    EXPECT_FALSE(picture->HasMask());
    EXPECT_EQ(picture->Mask(false), nullptr);
    EXPECT_EQ(fw::NewPicture(0, 32, 32), nullptr);
    EXPECT_EQ(fw::NewPicture(32, -1, 32), nullptr);
}

TEST(Picture, MaskBlackIsOpaqueWhiteTransparentGreyBetween) {
    const auto picture = fw::NewPicture(3, 1, 32);
    picture->Graphics().SetForeColor(fw::RGB(200, 10, 20));
    picture->Graphics().FillRect(0, 0, 3, 1);

    fw::Picture* mask = picture->Mask(true);
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(picture->Mask(true), mask) << "a second Mask(true) makes no new mask";
    EXPECT_EQ(ColorAt(*picture, 0, 0).alpha(), 255) << "a new mask leaves the picture opaque";

    mask->Graphics().SetForeColor(fw::RGB(255, 255, 255));
    mask->Graphics().FillRect(1, 0, 1, 1);
    mask->Graphics().SetForeColor(fw::RGB(128, 128, 128));
    mask->Graphics().FillRect(2, 0, 1, 1);

    const QImage shown = picture->ToImage();
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(200, 10, 20));
    EXPECT_EQ(shown.pixelColor(1, 0).alpha(), 0);
    EXPECT_NEAR(shown.pixelColor(2, 0).alpha(), 127, 2);
    EXPECT_EQ(picture->Pixels().pixelColor(1, 0), QColor(200, 10, 20))
        << "the mask does not change the pixels themselves";
}

struct DrawCase {
    const char* what;
    int args[8];
    QPoint target;  // where source pixel `source` lands
    QPoint source;
    QPoint untouched;  // a pixel the drawing must leave white
};

TEST(Graphics, DrawPictureArgumentsPlaceTheSourceRectangle) {
    const DrawCase cases[] = {
        {"whole picture",
         {0, 0, kWhole, kWhole, 0, 0, kWhole, kWhole},
         {31, 31},
         {31, 31},
         {-1, -1}},
        {"moved", {4, 2, kWhole, kWhole, 0, 0, kWhole, kWhole}, {4, 2}, {0, 0}, {3, 1}},
        {"part of the source", {0, 0, kWhole, kWhole, 8, 8, 4, 4}, {0, 0}, {8, 8}, {4, 4}},
        {"part, placed", {10, 10, kWhole, kWhole, 8, 8, 4, 4}, {13, 13}, {11, 11}, {14, 14}},
    };
    const auto source = Pattern(32, 32);
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto target = fw::NewPicture(32, 32, 32);
        const int* a = c.args;
        target->Graphics().DrawPicture(source, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
        EXPECT_EQ(ColorAt(*target, c.target.x(), c.target.y()),
                  ColorAt(*source, c.source.x(), c.source.y()));
        if (c.untouched.x() >= 0) {
            EXPECT_EQ(ColorAt(*target, c.untouched.x(), c.untouched.y()), QColor(Qt::white));
        }
    }
}

TEST(Graphics, DrawPictureScalesAndHonoursTheSourceMask) {
    const auto source = fw::NewPicture(2, 1, 32);
    source->Graphics().SetForeColor(fw::RGB(0, 0, 255));
    source->Graphics().FillRect(0, 0, 2, 1);
    source->Mask(true)->Graphics().SetForeColor(fw::RGB(255, 255, 255));
    source->Mask(true)->Graphics().FillRect(1, 0, 1, 1);  // right half transparent

    const auto target = fw::NewPicture(8, 4, 32);
    target->Graphics().DrawPicture(source, 0, 0, 8, 4);
    EXPECT_EQ(ColorAt(*target, 1, 2), QColor(0, 0, 255));
    EXPECT_EQ(ColorAt(*target, 6, 2), QColor(Qt::white)) << "masked-out source pixels";

    target->Graphics().DrawPicture(nullptr, 0, 0);  // none: draws nothing
    EXPECT_EQ(ColorAt(*target, 6, 2), QColor(Qt::white));
}

TEST(Graphics, CellContextStartsAtTheCellAndIsClippedToIt) {
    QImage image(40, 40, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    fw::Graphics g(painter, QRect(10, 20, 5, 6));
    EXPECT_EQ(g.Width(), 5);
    EXPECT_EQ(g.Height(), 6);
    g.SetForeColor(fw::RGB(1, 2, 3));
    g.FillRect(0, 0, 1000, 1000);
    g.SetForeColor(fw::RGB(9, 9, 9));
    g.FillRect(1, 1, 1, 1);
    painter.end();

    EXPECT_EQ(image.pixelColor(10, 20), QColor(1, 2, 3));
    EXPECT_EQ(image.pixelColor(14, 25), QColor(1, 2, 3));
    EXPECT_EQ(image.pixelColor(11, 21), QColor(9, 9, 9)) << "(1,1) of the cell";
    EXPECT_EQ(image.pixelColor(9, 20), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(15, 20), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(10, 26), QColor(Qt::white));
}

// A shown window of 300 by 200 with room to grow.
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        window._SetProperties({{"Width", 300},
                               {"Height", 200},
                               {"MinWidth", 100},
                               {"MinHeight", 100},
                               {"MaxWidth", 2000},
                               {"MaxHeight", 2000}});
    }
    template <class T>
    T* Add(const QString& name, const fw::PropertyMap& properties) {
        auto* control = static_cast<T*>(window._AddControl(name, std::make_unique<T>()));
        EXPECT_TRUE(control->_SetProperties(properties).isEmpty());
        return control;
    }
    fw::Window window;
};

using ListboxTest = WindowFixture;

TEST_F(ListboxTest, CellsOfRowsAndColumnsThatAreThereOnly) {
    auto* list = Add<fw::Listbox>("List", {{"Width", 200}, {"Height", 100}, {"ColumnCount", 2}});
    list->AddRow("a");
    list->AddRow("b");
    list->SetCell(1, 1, "b1");
    list->SetCell(2, 0, "nowhere");
    list->SetCell(0, 2, "nowhere");
    list->SetCell(-1, 0, "nowhere");
    EXPECT_EQ(list->ListCount(), 2);
    EXPECT_EQ(list->Cell(0, 0), "a");
    EXPECT_EQ(list->Cell(0, 1), "");
    EXPECT_EQ(list->Cell(1, 1), "b1");
    EXPECT_EQ(list->Cell(5, 0), "");
    EXPECT_EQ(list->Cell(0, 7), "");
    list->DeleteAllRows();
    EXPECT_EQ(list->ListCount(), 0);
}

TEST_F(ListboxTest, InitialValueGivesHeadingsAndRows) {
    auto* list = Add<fw::Listbox>(
        "List", {{"ColumnCount", 2}, {"HasHeading", true}, {"InitialValue", "A\tB\rr0\tr0b\rr1"}});
    EXPECT_TRUE(list->HasHeading());
    EXPECT_EQ(list->Heading(0), "A");
    EXPECT_EQ(list->Heading(1), "B");
    ASSERT_EQ(list->ListCount(), 2);
    EXPECT_EQ(list->Cell(0, 1), "r0b");
    EXPECT_EQ(list->Cell(1, 0), "r1");
}

TEST_F(ListboxTest, ColumnWidthsFollowTheListWidth) {
    auto* list = Add<fw::Listbox>("List", {{"Width", 200},
                                           {"Height", 100},
                                           {"LockLeft", true},
                                           {"LockRight", true},
                                           {"ColumnCount", 2},
                                           {"ColumnWidths", "40%,*"}});
    window.Show();
    auto* view = static_cast<QTreeWidget*>(list->Widget());
    for (int width : {300, 650}) {
        SCOPED_TRACE(width);
        window.SetWidth(width);
        QCoreApplication::processEvents();
        const int inner = view->viewport()->width();
        EXPECT_EQ(list->ColumnWidth(0), inner * 40 / 100);
        EXPECT_EQ(list->ColumnWidth(0) + list->ColumnWidth(1), inner);
    }
}

TEST_F(ListboxTest, CellBackgroundPaintCoversEveryCellAndTheEmptyRowsBelow) {
    auto* list = Add<fw::Listbox>(
        "List", {{"Width", 200}, {"Height", 150}, {"ColumnCount", 2}, {"ColumnWidths", "50%,*"}});
    list->AddRow("a");
    list->AddRow("b");
    std::set<std::pair<int, int>> painted;
    std::vector<QSize> sizes;
    ASSERT_TRUE(list->_InstallInstanceEventHandler<bool(fw::Graphics&, int, int)>(
        "CellBackgroundPaint", [&](fw::Graphics& g, int row, int column) {
            painted.emplace(row, column);
            if (row == 0) {
                sizes.emplace_back(g.Width(), g.Height());
            }
            return false;
        }));
    window.Show();
    list->Widget()->grab();

    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 2; ++column) {
            EXPECT_TRUE(painted.count({row, column})) << row << "," << column;
        }
    }
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.front().width(), list->ColumnWidth(0));
    EXPECT_GT(sizes.front().height(), 0);
}

TEST_F(ListboxTest, HandlersBindOnlyByAKnownEventAndItsSignature) {
    auto* list = Add<fw::Listbox>("List", {});
    EXPECT_FALSE(list->_InstallInstanceEventHandler<bool(fw::Graphics&, int, int)>(
        "CellPaint", [](fw::Graphics&, int, int) { return false; }));
    EXPECT_FALSE(list->_InstallInstanceEventHandler<void(fw::Graphics&, int, int)>(
        "CellBackgroundPaint", [](fw::Graphics&, int, int) {}));
    EXPECT_FALSE(list->HasEventHandler("CellBackgroundPaint"));
    EXPECT_TRUE(list->_InstallInstanceEventHandler<void()>("Open", [] {}));
    EXPECT_TRUE(list->HasEventHandler("Open"));
}

TEST_F(WindowFixture, UnknownLayoutValuesAreReportedAndStoredValuesKept) {
    auto* text = window._AddControl("Text", std::make_unique<fw::StaticText>());
    EXPECT_EQ(text->_SetProperties({{"Left", 3}, {"Colour", "red"}, {"DataField", "x"}}),
              QStringList{"Colour"});
    EXPECT_EQ(text->Left(), 3);
    EXPECT_EQ(text->Property("DataField"), QVariant("x"));
    EXPECT_EQ(window._SetProperties({{"Title", "T"}, {"Size", 1}}), QStringList{"Size"});
    EXPECT_EQ(window.Title(), "T");
    EXPECT_EQ(window._AddControl("Text", std::make_unique<fw::StaticText>()), nullptr)
        << "a name is taken once";
    EXPECT_EQ(window.ControlByName("Text"), text);
    EXPECT_EQ(window.ControlByName<fw::Listbox>("Text"), nullptr);
}

struct LockCase {
    bool left, top, right, bottom;
    QRect expected;  // after the content area grew from 300x200 by 50x60
};

TEST_F(WindowFixture, LockedEdgesKeepTheirDistancesOnResize) {
    const QRect start(10, 20, 30, 40);
    const LockCase cases[] = {
        {false, false, false, false, QRect(10, 20, 30, 40)},
        {true, true, false, false, QRect(10, 20, 30, 40)},
        {false, false, true, false, QRect(60, 20, 30, 40)},
        {false, false, false, true, QRect(10, 80, 30, 40)},
        {true, false, true, false, QRect(10, 20, 80, 40)},
        {false, true, false, true, QRect(10, 20, 30, 100)},
        {true, true, true, true, QRect(10, 20, 80, 100)},
    };
    std::vector<fw::Control*> controls;
    for (const LockCase& c : cases) {
        controls.push_back(Add<fw::StaticText>(QString("Text%1").arg(controls.size()),
                                               {{"Left", start.x()},
                                                {"Top", start.y()},
                                                {"Width", start.width()},
                                                {"Height", start.height()},
                                                {"LockLeft", c.left},
                                                {"LockTop", c.top},
                                                {"LockRight", c.right},
                                                {"LockBottom", c.bottom}}));
    }
    window.Show();

    // By the program, then by the user (the Qt window resized), then back.
    window.SetWidth(350);
    window.SetHeight(260);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(controls[i]->Bounds(), cases[i].expected) << "program, case " << i;
        EXPECT_EQ(controls[i]->Widget()->geometry(), cases[i].expected) << "case " << i;
    }
    window.Widget()->resize(window.Widget()->size() - QSize(50, 60));
    QCoreApplication::processEvents();
    EXPECT_EQ(window.ContentSize(), QSize(300, 200));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(controls[i]->Bounds(), start) << "user, case " << i;
    }
    window.Widget()->resize(window.Widget()->size() + QSize(50, 60));
    QCoreApplication::processEvents();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(controls[i]->Bounds(), cases[i].expected) << "user, case " << i;
    }
}

TEST_F(WindowFixture, ContentSizeStaysWithinTheLimits) {
    window.Show();
    window.SetWidth(20);
    EXPECT_EQ(window.Width(), 100);
    window.SetHeight(5000);
    EXPECT_EQ(window.Height(), 2000);
    EXPECT_EQ(window.ContentArea()->size(), QSize(100, 2000));
    EXPECT_EQ(window.ContentArea()->minimumSize(), QSize(100, 100));
    EXPECT_EQ(window.ContentArea()->maximumSize(), QSize(2000, 2000));
}

TEST_F(WindowFixture, TabOrderFollowsTabIndexNotCreationOrder) {
    // Made in the order a, b, c; tab order c, a, b.
    const std::pair<const char*, int> boxes[] = {{"a", 5}, {"b", 9}, {"c", 1}};
    for (const auto& [name, index] : boxes) {
        Add<fw::ComboBox>(name, {{"TabIndex", index}});
    }
    std::vector<QString> order;
    QWidget* widget = window.ContentArea();
    for (int steps = 0; steps < 100 && order.size() < 3; ++steps) {
        widget = widget->nextInFocusChain();
        for (fw::Control* control : window.Controls()) {
            if (control->Widget() == widget) {
                order.push_back(control->Name());
            }
        }
    }
    EXPECT_EQ(order, (std::vector<QString>{"c", "a", "b"}));
}

TEST_F(WindowFixture, ConstructRunsTheHooksInOrderOnce) {
    struct Recording : fw::Window {
        QStringList calls;
        void Layout() override { calls << "Layout"; }
        void CreateControls() override {
            calls << "CreateControls";
            auto* list = _AddControl("List", std::make_unique<fw::Listbox>());
            EXPECT_TRUE(list->_InstallInstanceEventHandler<void()>(
                "Open", [this] { calls << "List.Open"; }));
        }
        void AddMenuHandlers(fw::Window& w) override {
            calls << (&w == this ? "AddMenuHandlers" : "AddMenuHandlers of another window");
        }
        void Event_Open() override {
            calls << (Widget()->isVisible() ? "Open after show" : "Open");
        }
    } recording;
    recording.Construct();
    recording.Construct();
    EXPECT_EQ(recording.calls,
              (QStringList{"Layout", "CreateControls", "AddMenuHandlers", "List.Open", "Open"}));
    EXPECT_TRUE(recording.Widget()->isVisible());
}

using ToolbarTest = WindowFixture;

TEST_F(ToolbarTest, ClickOnAnEnabledButtonRaisesActionWithThatItem) {
    auto* toolbar =
        static_cast<fw::Toolbar*>(window._AddControl("Tools", std::make_unique<fw::Toolbar>()));
    std::shared_ptr<fw::ToolButton> items[3];
    const int styles[] = {0, fw::ToolItem::kSeparator, 0};
    for (int i = 0; i < 3; ++i) {
        items[i] = std::make_shared<fw::ToolButton>();
        items[i]->SetName(QString("Item%1").arg(i));
        items[i]->SetCaption(QString("Caption %1").arg(i));
        items[i]->SetStyle(styles[i]);
        toolbar->Append(items[i]);
    }
    QStringList actions;
    ASSERT_TRUE(toolbar->_InstallInstanceEventHandler<void(fw::ToolItem&)>(
        "Action", [&](fw::ToolItem& item) { actions << item.Name(); }));
    window.Show();

    QToolBar* bar = toolbar->ToolBarWidget();
    EXPECT_EQ(bar->parentWidget(), window.Widget()) << "a toolbar of the window, not the content";
    EXPECT_EQ(window.Widget()->toolBarArea(bar), Qt::TopToolBarArea);
    EXPECT_EQ(bar->widgetForAction(items[1]->Action()), nullptr) << "a separator is no button";
    auto* first = qobject_cast<QToolButton*>(bar->widgetForAction(items[0]->Action()));
    auto* last = qobject_cast<QToolButton*>(bar->widgetForAction(items[2]->Action()));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(first->text(), "Caption 0");

    QTest::mouseClick(last, Qt::LeftButton);
    items[0]->SetEnabled(false);
    QTest::mouseClick(first, Qt::LeftButton);
    items[0]->SetEnabled(true);
    QTest::mouseClick(first, Qt::LeftButton);
    EXPECT_EQ(actions, (QStringList{"Item2", "Item0"}));

    std::weak_ptr<fw::ToolItem> held = items[1];
    for (auto& item : items) {
        item.reset();
    }
    EXPECT_FALSE(held.expired()) << "the toolbar holds its items";
    EXPECT_EQ(toolbar->Count(), 3);
    EXPECT_EQ(toolbar->Item(1)->Name(), "Item1");
    EXPECT_EQ(toolbar->Item(3), nullptr);
}

TEST_F(ToolbarTest, AnItemTellsWhatItsButtonShows) {
    auto* toolbar =
        static_cast<fw::Toolbar*>(window._AddControl("Tools", std::make_unique<fw::Toolbar>()));
    auto item = std::make_shared<fw::ToolButton>();
    item->SetCaption("Mine");
    toolbar->Append(item);
    window.Show();
    auto* button =
        qobject_cast<QToolButton*>(toolbar->ToolBarWidget()->widgetForAction(item->Action()));
    ASSERT_NE(button, nullptr);

    // Changed through Qt, behind the item's back: no copy of the item's is left behind.
    item->Action()->setText("Changed");
    item->Action()->setEnabled(false);
    EXPECT_EQ(item->Caption(), "Changed");
    EXPECT_FALSE(item->Enabled());
    EXPECT_EQ(button->text(), item->Caption());
    EXPECT_FALSE(button->isEnabled());
}

TEST_F(WindowFixture, TextColorIsTheColourTheLabelPaints) {
    auto* text = static_cast<fw::StaticText*>(
        window._AddControl("Text", std::make_unique<fw::StaticText>()));
    text->_SetProperties({{"TextColor", "#336699"}});
    EXPECT_EQ(text->TextColor(), fw::RGB(0x33, 0x66, 0x99));
    EXPECT_EQ(text->Widget()->palette().color(QPalette::WindowText), QColor(0x33, 0x66, 0x99));

    QPalette palette = text->Widget()->palette();
    palette.setColor(QPalette::WindowText, QColor(200, 0, 0));
    text->Widget()->setPalette(palette);
    EXPECT_EQ(text->TextColor(), fw::RGB(200, 0, 0)) << "changed through Qt";

    EXPECT_EQ(fw::RGB(300, -5, 128), QColor(255, 0, 128)) << "components are clamped";
}

TEST(Menu, ShortcutsUseThePlatformsCommandKey) {
    EXPECT_EQ(fw::ShortcutSequence("Cmd+Q"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(fw::ShortcutSequence("Cmd+X"), QKeySequence("Ctrl+X"));
    EXPECT_TRUE(fw::ShortcutSequence("").isEmpty());
}

// A window with a File menu (Quit) and an Edit menu over a combo box's text field.
class MenuWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        auto bar = std::make_shared<fw::MenuBar>();
        auto file = std::make_shared<fw::MenuItem>();
        file->SetName("FileMenu");
        file->SetText("&File");
        auto quit = std::make_shared<fw::QuitMenuItem>();
        quit->SetName("FileQuit");
        quit->SetText("Quit");
        quit->SetKeyboardShortcut("Cmd+Q");
        file->Append(quit);
        auto edit = std::make_shared<fw::MenuItem>();
        edit->SetName("EditMenu");
        edit->SetText("&Edit");
        for (const char* name :
             {"EditUndo", "-", "EditCut", "EditCopy", "EditPaste", "EditClear"}) {
            auto entry = std::make_shared<fw::MenuItem>();
            entry->SetName(name);
            entry->SetText(QString(name) == "-" ? "-" : QString(name).mid(4));
            edit->Append(entry);
        }
        bar->Append(file);
        bar->Append(edit);
        window.SetMenuBar(bar);
        box = Add<fw::ComboBox>("Box", {{"Width", 100}, {"Height", 22}});
        window.Show();
    }
    QAction* Entry(const QString& name) const {
        return window.Widget()->menuBar()->findChild<QAction*>(name);
    }
    fw::ComboBox* box = nullptr;
};

TEST_F(MenuWindow, TheMenuTreeBecomesTheWindowsMenus) {
    const QList<QAction*> menus = window.Widget()->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus[1]->text(), "&Edit");
    const QList<QAction*> entries = menus[1]->menu()->actions();
    ASSERT_EQ(entries.size(), 6);
    EXPECT_TRUE(entries[1]->isSeparator());
    EXPECT_EQ(entries[2]->text(), "Cut");
    ASSERT_NE(Entry("FileQuit"), nullptr);
    EXPECT_EQ(Entry("FileQuit")->shortcut(), QKeySequence("Ctrl+Q"));
    EXPECT_EQ(Entry("FileQuit")->menuRole(), QAction::QuitRole);
}

TEST_F(MenuWindow, EditEntriesActOnTheFocusedTextField) {
    QLineEdit* field = static_cast<QComboBox*>(box->Widget())->lineEdit();
    box->Widget()->setFocus();
    field->setText("hello");
    field->selectAll();
    Entry("EditCut")->trigger();
    EXPECT_EQ(field->text(), "");
    Entry("EditPaste")->trigger();
    Entry("EditPaste")->trigger();
    EXPECT_EQ(field->text(), "hellohello");
    field->setSelection(0, 5);
    Entry("EditClear")->trigger();
    EXPECT_EQ(field->text(), "hello");
    Entry("EditClear")->trigger();  // nothing selected: nothing cleared
    EXPECT_EQ(field->text(), "hello");
    Entry("EditUndo")->trigger();
    EXPECT_EQ(field->text(), "hellohello");
}

TEST_F(MenuWindow, QuitEndsTheEventLoop) {
    QTimer::singleShot(0, [this] { Entry("FileQuit")->trigger(); });
    // Only a safety net against a hang: the loop must end through Quit well before.
    QTimer::singleShot(60000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QApplication::exec(), 0);
}

TEST(MsgBox, TheSeamRecordsTextsInsteadOfShowingThem) {
    fw::ScopedMsgBox outer;
    fw::MsgBox("one");
    {
        fw::ScopedMsgBox inner;
        fw::MsgBox("two");
        EXPECT_EQ(inner.Texts(), QStringList{"two"});
    }
    fw::MsgBox("three");
    EXPECT_EQ(outer.Texts(), (QStringList{"one", "three"}));
}

}  // namespace
