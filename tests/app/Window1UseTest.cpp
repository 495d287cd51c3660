// The main window as the user meets it: the keyboard's way through its controls, the toolbar's
// items and popups, the Edit menu, tooltips, colours under a dark desktop palette, and what a
// screen reader is told about the two boxes.
#include "app/Window1.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHash>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>
#include <QWidgetAction>
#include <cmath>
#include <string>
#include <vector>

namespace {

const QColor kShade(237, 243, 254);

// A built main window, shown and active, so that focus and keys behave as for the user.
class Window1UseTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.Construct();
        QMainWindow* qt = window.Widget();
        qt->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(qt, 5000)) << "waited for the window to be active";
    }

    QWidget* Widget(const char* name) const { return window.ControlByName(name)->Widget(); }
    QToolBar* Bar() const { return static_cast<QToolBar*>(window.Toolbar11()->Widget()); }
    QToolButton* Button(const fw::ToolItem& item) const {
        return qobject_cast<QToolButton*>(Bar()->widgetForAction(item.Action()));
    }

    // The control that holds the keyboard focus, by name; "" for none of them.
    std::string Focused() const {
        const QWidget* focus = QApplication::focusWidget();
        for (const fw::Control* control : window.Controls()) {
            if (focus != nullptr &&
                (focus == control->Widget() || control->Widget()->isAncestorOf(focus))) {
                return control->Name().toStdString();
            }
        }
        return {};
    }

    Window1 window;
};

TEST_F(Window1UseTest, TabGoesFromTheListToTheScanCountToTheFirstOctetAndRoundAgain) {
    Widget("ListBox1")->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(Focused(), "ListBox1");
    for (const char* next : {"ComboBox1", "ComboBox2", "ListBox1", "ComboBox1"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(Focused(), next);
    }
    for (const char* previous : {"ListBox1", "ComboBox2"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(Focused(), previous);
    }
}

TEST_F(Window1UseTest, TheToolbarShowsItsItemsInOrderWithExportAgainstTheRightEdge) {
    Toolbar1* toolbar = window.Toolbar11();
    QToolBar* bar = Bar();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->iconSize(), QSize(32, 32));

    // Each item's kind as the bar shows it: a button of the item, a separator, a flexible space.
    const QList<QAction*> shown = bar->actions();
    ASSERT_EQ(shown.size(), 5);
    const fw::ToolButton* const buttons[] = {toolbar->ToolItem1.get(), nullptr,
                                             toolbar->ToolItem2.get(), nullptr,
                                             toolbar->ToolItem4.get()};
    int lastRight = -1;
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const fw::ToolButton* item = buttons[i];
        QWidget* widget = bar->widgetForAction(shown[i]);
        if (item != nullptr) {
            EXPECT_EQ(shown[i], item->Action());
            auto* button = qobject_cast<QToolButton*>(widget);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), item->Caption());
            EXPECT_EQ(button->iconSize(), QSize(32, 32)) << "icons at their own size";
            EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        } else if (i == 1) {
            EXPECT_TRUE(shown[i]->isSeparator());
        } else {
            auto* space = qobject_cast<QWidgetAction*>(shown[i]);
            ASSERT_NE(space, nullptr) << "a space is a widget of the bar";
            EXPECT_FALSE(shown[i]->isSeparator());
        }
        ASSERT_NE(widget, nullptr);
        EXPECT_GT(widget->geometry().left(), lastRight) << "left to right in item order";
        lastRight = widget->geometry().right();
    }

    // The space takes what the buttons leave: export stays at the right edge as the window grows.
    QToolButton* exportButton = Button(*toolbar->ToolItem4);
    for (int grow : {0, 250}) {
        window.Widget()->resize(window.Widget()->size() + QSize(grow, 0));
        QCoreApplication::processEvents();
        const int gap = bar->contentsRect().right() - exportButton->geometry().right();
        EXPECT_GE(gap, 0) << "grown by " << grow;
        EXPECT_LE(gap, 8) << "grown by " << grow;
    }
}

TEST_F(Window1UseTest, EditCopyLeavesTheBoxAsItIsAndPutsItsTextOnTheClipboard) {
    auto* box = static_cast<QComboBox*>(Widget("ComboBox1"));
    box->setFocus(Qt::TabFocusReason);
    box->lineEdit()->selectAll();
    QGuiApplication::clipboard()->setText("before");
    QAction* copy = window.Widget()->menuBar()->findChild<QAction*>("EditCopy");
    ASSERT_NE(copy, nullptr);
    copy->trigger();
    EXPECT_EQ(window.ComboBox1()->Text().toStdString(), "16");
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "16");
}

// The visible entries of every popup that opens while event is sent to target; each popup is
// closed at once.
std::vector<std::string> PopupOffers(QWidget* target, QEvent* event) {
    std::vector<std::string> offers;
    bool closed = false;
    const auto closePopups = [&] {
        while (QWidget* popup = QApplication::activePopupWidget()) {
            if (auto* menu = qobject_cast<QMenu*>(popup)) {
                for (const QAction* action : menu->actions()) {
                    if (action->isVisible()) {
                        offers.push_back(action->text().isEmpty() ? "(no text)"
                                                                  : action->text().toStdString());
                    }
                }
            }
            popup->close();
        }
        closed = true;
    };
    QTimer::singleShot(0, target, closePopups);
    QApplication::sendEvent(target, event);
    // A popup ran its own loop and the timer closed it there, or the timer runs here.
    EXPECT_TRUE(QTest::qWaitFor([&] { return closed; }, 5000))
        << "waited for the popup check to run";
    return offers;
}

TEST_F(Window1UseTest, NoPopupOfTheWindowOrItsMenuBarOffersToHideTheToolbar) {
    QToolBar* bar = Bar();
    ASSERT_TRUE(bar->isVisible());
    const std::unique_ptr<QMenu> own(window.Widget()->createPopupMenu());
    if (own != nullptr) {
        EXPECT_TRUE(own->isEmpty()) << "the window's own popup holds a visible entry";
    }
    for (QWidget* target : {static_cast<QWidget*>(window.Widget()->menuBar()),
                            static_cast<QWidget*>(bar), window.ContentArea()}) {
        SCOPED_TRACE(target->metaObject()->className());
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(2, 2),
                                     target->mapToGlobal(QPoint(2, 2)));
        EXPECT_EQ(PopupOffers(target, &rightClick), std::vector<std::string>());
        EXPECT_TRUE(bar->isVisible());
    }
}

// What the tooltip shows when the pointer rests on widget; empty when no tooltip shows.
std::string ToolTipOver(QWidget* widget) {
    QToolTip::hideText();  // it goes after a short delay
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000))
        << "waited for the last tooltip to go";
    const QPoint middle = widget->rect().center();
    QHelpEvent rest(QEvent::ToolTip, middle, widget->mapToGlobal(middle));
    QApplication::sendEvent(widget, &rest);
    return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
}

TEST_F(Window1UseTest, AButtonsTooltipIsItsHelpTagAndNoneWhenThatIsEmpty) {
    Toolbar1* toolbar = window.Toolbar11();
    for (fw::ToolButton* item :
         {toolbar->ToolItem1.get(), toolbar->ToolItem2.get(), toolbar->ToolItem4.get()}) {
        SCOPED_TRACE(item->Name().toStdString());
        ASSERT_NE(Button(*item), nullptr);
        EXPECT_EQ(ToolTipOver(Button(*item)), "") << "the caption is no help text";
        item->SetEnabled(!item->Enabled());  // the button takes the action's state anew
        EXPECT_EQ(ToolTipOver(Button(*item)), "");
    }
    toolbar->ToolItem1->SetHelpTag("Finds the machines of the network");
    EXPECT_EQ(ToolTipOver(Button(*toolbar->ToolItem1)), "Finds the machines of the network");
    toolbar->ToolItem1->SetHelpTag("");
    EXPECT_EQ(ToolTipOver(Button(*toolbar->ToolItem1)), "");
}

TEST_F(Window1UseTest, TheListDrawsNoFocusFrame) {
    auto* list = static_cast<QTreeWidget*>(Widget("ListBox1"));
    window.ControlByName<fw::Listbox>("ListBox1")->AddRow("192.168.0.100");
    list->selectionModel()->setCurrentIndex(list->model()->index(0, 0),
                                            QItemSelectionModel::NoUpdate);
    // By the keyboard, as the user moves the focus, where styles show their focus frames.
    Widget("ComboBox2")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(Focused(), "ListBox1");
    const QImage focused = list->grab().toImage();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(Focused(), "ComboBox1");
    const QImage unfocused = list->grab().toImage();
    EXPECT_TRUE(focused == unfocused) << "the list looks the same with the focus as without";
}

// WCAG's contrast ratio of two colours.
double Contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct Rendered {
    QColor background;  // the commonest colour
    QColor text;        // the one that stands out most from it
};

Rendered ColoursIn(const QImage& image, const QRect& area) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            ++counts[image.pixel(x, y)];
        }
    }
    Rendered found;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            found.background = QColor::fromRgb(it.key());
        }
    }
    found.text = found.background;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (Contrast(QColor::fromRgb(it.key()), found.background) >
            Contrast(found.text, found.background)) {
            found.text = QColor::fromRgb(it.key());
        }
    }
    return found;
}

// The desktop's palette for as long as it lives.
class ScopedAppPalette {
public:
    explicit ScopedAppPalette(const QPalette& palette) : mOld(QApplication::palette()) {
        QApplication::setPalette(palette);
    }
    ~ScopedAppPalette() { QApplication::setPalette(mOld); }
    ScopedAppPalette(const ScopedAppPalette&) = delete;
    ScopedAppPalette& operator=(const ScopedAppPalette&) = delete;

private:
    QPalette mOld;
};

// A dark desktop, as a dark Fusion palette gives it.
QPalette DarkPalette() {
    QPalette dark;
    const QColor window(53, 53, 53);
    const QColor base(35, 35, 35);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor text = group == QPalette::Disabled ? QColor(127, 127, 127) : Qt::white;
        dark.setColor(group, QPalette::Window, window);
        dark.setColor(group, QPalette::WindowText, text);
        dark.setColor(group, QPalette::Base, base);
        dark.setColor(group, QPalette::AlternateBase, window);
        dark.setColor(group, QPalette::Text, text);
        dark.setColor(group, QPalette::Button, window);
        dark.setColor(group, QPalette::ButtonText, text);
        dark.setColor(group, QPalette::Light, window.lighter(150));
        dark.setColor(group, QPalette::Midlight, window.lighter(120));
        dark.setColor(group, QPalette::Mid, window.darker(120));
        dark.setColor(group, QPalette::Dark, window.darker(150));
        dark.setColor(group, QPalette::Shadow, Qt::black);
        dark.setColor(group, QPalette::Highlight, QColor(42, 130, 218));
        dark.setColor(group, QPalette::HighlightedText, Qt::white);
        dark.setColor(group, QPalette::BrightText, Qt::red);
    }
    return dark;
}

TEST(Window1Colours, EveryTextStaysReadableUnderADarkDesktopPalette) {
    ScopedAppPalette desktop(DarkPalette());
    Window1 window;
    window.Construct();
    auto* list = window.ControlByName<fw::Listbox>("ListBox1");
    list->AddRow("192.168.0.100");
    list->SetCell(0, 1, "router");
    list->AddRow("192.168.0.101");
    list->SetCell(1, 1, "printer");
    list->AddRow("192.168.0.102");
    list->SetCell(2, 1, "nas");
    auto* view = static_cast<QTreeWidget*>(list->Widget());
    view->setCurrentItem(view->topLevelItem(2));
    QCoreApplication::processEvents();
    QMainWindow* qt = window.Widget();
    const QImage shot = qt->grab().toImage();

    const auto cell = [&](int row, int column) {
        const QRect inViewport = view->visualRect(view->model()->index(row, column));
        return QRect(view->viewport()->mapTo(qt, inViewport.topLeft()), inViewport.size());
    };
    const auto whole = [&](const char* name) {
        const QWidget* widget = window.ControlByName(name)->Widget();
        return QRect(widget->mapTo(qt, QPoint(0, 0)), widget->size());
    };
    // The caption under a button's icon.
    const auto caption = [&](const fw::ToolButton& item) {
        const QWidget* button =
            static_cast<QToolBar*>(window.Toolbar11()->Widget())->widgetForAction(item.Action());
        return QRect(button->mapTo(qt, QPoint(0, button->height() * 2 / 3)),
                     QSize(button->width(), button->height() / 3));
    };

    const std::pair<const char*, QRect> texts[] = {
        {"a shaded row", cell(0, 0)},
        {"a shaded row's name", cell(0, 1)},
        {"an unshaded row", cell(1, 0)},
        {"a selected row", cell(2, 1)},
        {"the scan count's label", whole("StaticText2")},
        {"the first octet's label", whole("StaticText3")},
        {"the status text", whole("StaticText1").intersected(qt->rect())},
        {"the scan count", whole("ComboBox1")},
        {"the start button's caption", caption(*window.Toolbar11()->ToolItem1)},
        {"the disabled stop button's caption", caption(*window.Toolbar11()->ToolItem2)},
    };
    for (const auto& [what, area] : texts) {
        const Rendered seen = ColoursIn(shot, area);
        EXPECT_GE(Contrast(seen.text, seen.background), 4.5)
            << what << ": " << seen.text.name().toStdString() << " on "
            << seen.background.name().toStdString();
    }
    EXPECT_EQ(ColoursIn(shot, cell(0, 1)).background, kShade) << "the shading is kept";
    EXPECT_EQ(ColoursIn(shot, whole("StaticText2")).text, QColor(Qt::black))
        << "the labels' colour is kept";
}

TEST_F(Window1UseTest, EachBoxIsLabelledByItsLabelForAScreenReader) {
    const std::pair<const char*, const char*> pairs[] = {{"ComboBox1", "StaticText2"},
                                                         {"ComboBox2", "StaticText3"}};
    for (const auto& [box, label] : pairs) {
        SCOPED_TRACE(box);
        EXPECT_EQ(static_cast<QLabel*>(Widget(label))->buddy(), Widget(box));
        QAccessibleInterface* boxAccess = QAccessible::queryAccessibleInterface(Widget(box));
        ASSERT_NE(boxAccess, nullptr);
        std::vector<std::string> labelledBy;
        for (const auto& [other, relation] : boxAccess->relations(QAccessible::Label)) {
            labelledBy.push_back(other->text(QAccessible::Name).toStdString());
        }
        const QString text = static_cast<fw::StaticText*>(window.ControlByName(label))->Text();
        EXPECT_EQ(labelledBy, std::vector<std::string>{text.toStdString()});
    }

    // A label's text is shown as it is, an ampersand too (no mnemonic of its box).
    window.StaticText3()->SetText("開始アドレス： R&D.");
    QAccessibleInterface* labelAccess =
        QAccessible::queryAccessibleInterface(Widget("StaticText3"));
    EXPECT_EQ(labelAccess->text(QAccessible::Name).toStdString(), "開始アドレス： R&D.");
    auto* shown = static_cast<QLabel*>(Widget("StaticText3"));
    // The same text in a label of no control, in the same place.
    QLabel plain("開始アドレス： R&D.", shown->parentWidget());
    plain.setFont(shown->font());
    plain.setPalette(shown->palette());
    plain.setAlignment(shown->alignment());
    plain.setGeometry(shown->geometry());
    EXPECT_TRUE(shown->grab().toImage() == plain.grab().toImage()) << "shown as plain text";
}

}  // namespace
