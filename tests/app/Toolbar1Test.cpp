// The toolbar: its five items, the icons and states its Open event gives them, and the picture
// items with their caches.
#include "app/Pictures.h"
#include "app/Toolbar1.h"
#include "app/Window1.h"
#include "framework/gui/ResourceFork.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QToolBar>
#include <map>

namespace {

struct ItemRow {
    const char* name;
    int style;
    const char* caption;
    bool iconAfterOpen;
    bool enabledAfterOpen;
};

constexpr ItemRow kItems[] = {
    {"ToolItem1", 0, "アドレス取得", true, true}, {"ToolItem5", 5, "Untitled", false, true},
    {"ToolItem2", 0, "中止", true, false},        {"ToolItem3", 6, "Untitled", false, true},
    {"ToolItem4", 0, "書き出し", true, false},
};

std::vector<fw::ToolButton*> Fields(const Toolbar1& toolbar) {
    return {toolbar.ToolItem1.get(), toolbar.ToolItem5.get(), toolbar.ToolItem2.get(),
            toolbar.ToolItem3.get(), toolbar.ToolItem4.get()};
}

// The picture caches live for the whole run: every test starts and ends with them empty.
class PictureCaches : public ::testing::Test {
protected:
    void SetUp() override { Pictures::ReleasePictures(); }
    void TearDown() override { Pictures::ReleasePictures(); }
};

using Toolbar1Test = PictureCaches;

TEST_F(Toolbar1Test, AfterConstructionFiveEnabledItemsInFieldOrderWithoutIcons) {
    Toolbar1 toolbar;
    const std::vector<fw::ToolButton*> fields = Fields(toolbar);
    ASSERT_EQ(toolbar.Count(), 5);
    for (int i = 0; i < 5; ++i) {
        const ItemRow& row = kItems[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(toolbar.Item(i), fields[static_cast<std::size_t>(i)]);
        EXPECT_EQ(toolbar.Item(i)->Name(), row.name);
        EXPECT_EQ(toolbar.Item(i)->Style(), row.style);
        EXPECT_EQ(toolbar.Item(i)->Caption(), QString::fromUtf8(row.caption));
        EXPECT_EQ(toolbar.Item(i)->HelpTag(), "");
        EXPECT_TRUE(toolbar.Item(i)->Enabled());
        EXPECT_EQ(toolbar.Item(i)->Icon(), nullptr);
    }
}

TEST_F(Toolbar1Test, ReleasingTheToolbarReleasesItsButtons) {
    std::vector<std::weak_ptr<fw::ToolButton>> buttons;
    {
        Toolbar1 toolbar;
        buttons = {toolbar.ToolItem1, toolbar.ToolItem5, toolbar.ToolItem2, toolbar.ToolItem3,
                   toolbar.ToolItem4};
    }
    for (const auto& button : buttons) {
        EXPECT_TRUE(button.expired());
    }
}

TEST_F(Toolbar1Test, OpenGivesThreeMaskedIconsAndDisablesStopAndExport) {
    Window1 window;
    window.Construct();
    Toolbar1* toolbar = window.Toolbar11();
    ASSERT_NE(toolbar, nullptr);
    const std::vector<fw::ToolButton*> fields = Fields(*toolbar);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const ItemRow& row = kItems[i];
        const fw::ToolButton& item = *fields[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(item.Enabled(), row.enabledAfterOpen);
        EXPECT_EQ(item.Action()->isEnabled(), row.enabledAfterOpen);
        ASSERT_EQ(item.Icon() != nullptr, row.iconAfterOpen);
        if (row.iconAfterOpen) {
            EXPECT_EQ(item.Icon()->Width(), 32);
            EXPECT_EQ(item.Icon()->Height(), 32);
            EXPECT_FALSE(item.Action()->icon().isNull());
            // The mask shows: the corner is transparent, the middle of the picture is not.
            const QImage shown = item.Icon()->ToImage();
            EXPECT_EQ(shown.pixelColor(0, 0).alpha(), 0);
            EXPECT_EQ(shown.pixelColor(16, 5).alpha(), 255);
        }
        EXPECT_EQ(item.Caption(), QString::fromUtf8(row.caption)) << "unchanged by Open";
    }
    // The image came through, not just the mask: the stop sign is red.
    const QColor stop = toolbar->ToolItem2->Icon()->ToImage().pixelColor(16, 6);
    EXPECT_GT(stop.red(), 150);
    EXPECT_LT(stop.green(), 100);

    // Each Open composes new pictures.
    const std::shared_ptr<fw::Picture> first = toolbar->ToolItem1->Icon();
    window.Toolbar11_Open();
    EXPECT_NE(toolbar->ToolItem1->Icon(), first);
}

TEST_F(Toolbar1Test, OpenPassesAMissingPictureOnAndStillGivesTheIcon) {
    fw::ScopedPictureResources resources(
        [](int id) { return id == 168 ? nullptr : fw::ReadPictureResource(id); });
    Window1 window;
    window.Construct();
    ASSERT_NE(window.Toolbar11()->ToolItem1->Icon(), nullptr);
    EXPECT_EQ(window.Toolbar11()->ToolItem1->Icon()->Width(), 32);
}

TEST_F(PictureCaches, EachItemReadsItsResourceOnceAndGivesTheSamePicture) {
    std::map<int, int> reads;
    fw::ScopedPictureResources counting([&](int id) {
        ++reads[id];
        return fw::ReadPictureResource(id);
    });
    const std::pair<std::shared_ptr<fw::Picture> (*)(), int> items[] = {
        {Pictures::connect, 168},   {Pictures::connect_mask, 169}, {Pictures::stop, 170},
        {Pictures::stop_mask, 171}, {Pictures::text, 172},         {Pictures::text_mask, 173},
    };
    for (const auto& [item, id] : items) {
        SCOPED_TRACE(id);
        const std::shared_ptr<fw::Picture> first = item();
        ASSERT_NE(first, nullptr) << "the resources hold every picture";
        EXPECT_EQ(first->Width(), 32);
        EXPECT_EQ(first->Height(), 32);
        EXPECT_EQ(item(), first);
        EXPECT_EQ(reads[id], 1);
    }
}

TEST_F(PictureCaches, AMissingPictureIsAskedForAgainUntilItIsFound) {
    bool missing = true;
    int reads = 0;
    fw::ScopedPictureResources resources([&](int id) -> std::shared_ptr<fw::Picture> {
        ++reads;
        return missing ? nullptr : fw::ReadPictureResource(id);
    });
    EXPECT_EQ(Pictures::stop(), nullptr);
    EXPECT_EQ(Pictures::stop(), nullptr);
    EXPECT_EQ(reads, 2);
    missing = false;
    const std::shared_ptr<fw::Picture> found = Pictures::stop();
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(Pictures::stop(), found);
    EXPECT_EQ(reads, 3);
}

TEST_F(PictureCaches, ReleaseEmptiesEveryCache) {
    std::vector<std::weak_ptr<fw::Picture>> cached = {Pictures::connect(), Pictures::connect_mask(),
                                                      Pictures::stop(),    Pictures::stop_mask(),
                                                      Pictures::text(),    Pictures::text_mask()};
    Pictures::ReleasePictures();
    for (const auto& picture : cached) {
        EXPECT_TRUE(picture.expired());
    }
}

}  // namespace
