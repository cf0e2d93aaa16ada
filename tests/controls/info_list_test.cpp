#include "controls/font_cache.h"
#include "controls/info_list_box.h"
#include "support/memory_providers.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct DrawnCategory
{
    const char *label;
    bool expanded;
    std::vector<std::pair<const char *, const char *>> items; // label, value
};

InfoView *makeView(const std::vector<DrawnCategory> &categories)
{
    using testhost::DisplayTemplateData;
    auto *view = static_cast<InfoView *>(std::calloc(1, sizeof(InfoView)));
    for (const DrawnCategory &drawn : categories) {
        InfoCategory *category = DisplayTemplateData::addCategory(view, "", drawn.label);
        category->expanded = drawn.expanded;
        for (const auto &[label, value] : drawn.items)
            DisplayTemplateData::addItem(category, "", label, value);
    }
    return view;
}

const std::vector<DrawnCategory> kRows
    = {{"Recorder", true, {{"Name", "Lobby"}, {"Port", "7011"}}},
       {"More", false, {{"Manager", "Ann"}, {"Phone", "1"}, {"Fax", "2"}}}};

// Rows 0 to 3: category "Recorder" (expanded), its items "Name" and "Port", category "More"
// (collapsed, three items).
class InfoListTest : public ::testing::Test
{
protected:
    InfoListTest()
    {
        list.resize(240, 200);
        list.SetView(makeView(kRows));
        list.show();
    }

    QStringList rows() const
    {
        QStringList shown;
        for (int row = 0; row < list.count(); ++row) {
            const bool category = list.rowKind(row) == CInfoListBox::CategoryRow;
            shown << list.rowText(row) + QLatin1Char(':')
                    + QLatin1String(category ? list.categoryAt(row)->label
                                             : list.itemAt(row)->label);
        }
        return shown;
    }
    QPoint at(int row, int x) const { return QPoint(x, list.rowRect(row).center().y()); }

    CInfoListBox list;
};

const QStringList kCollapsed = {QStringLiteral("C:Recorder"), QStringLiteral("I:Name"),
                                QStringLiteral("I:Port"), QStringLiteral("C:More")};

// The plus/minus box toggles on a click, the rest of a category row on a double click; an item
// row never toggles.
TEST_F(InfoListTest, ClicksToggleCategoriesAndRowsFollow)
{
    EXPECT_EQ(rows(), kCollapsed);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at(3, 16));
    EXPECT_EQ(rows(), (kCollapsed + QStringList {"I:Manager", "I:Phone", "I:Fax"}));
    list.ToggleCategory(1);
    EXPECT_EQ(list.count(), 7);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at(0, 17)); // only selects
    EXPECT_EQ(list.count(), 7);
    EXPECT_EQ(list.currentRow(), 0);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at(0, 60));
    EXPECT_EQ(rows(), (QStringList {"C:Recorder", "C:More", "I:Manager", "I:Phone", "I:Fax"}));
    EXPECT_EQ(list.currentRow(), 0);
    list.ClearView();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.view(), nullptr);
}

// Plus, Right and Space open a category, Minus, Left and Space close it; Left on an item goes to
// its category, and a key that has nothing to do changes nothing.
TEST_F(InfoListTest, KeysToggleTheCategoryTheyAreOn)
{
    const struct
    {
        int row;
        Qt::Key key;
        int count;   // rows after the key
        int current; // selected row after the key
    } cases[] = {{3, Qt::Key_Plus, 7, 3},  {3, Qt::Key_Right, 7, 3}, {3, Qt::Key_Minus, 4, 3},
                 {0, Qt::Key_Minus, 2, 0}, {0, Qt::Key_Left, 2, 0},  {0, Qt::Key_Plus, 4, 0},
                 {2, Qt::Key_Left, 4, 0},  {3, Qt::Key_Space, 7, 3}, {0, Qt::Key_Space, 2, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << ", key " << c.key);
        list.SetView(makeView(kRows));
        list.setCurrentRow(c.row);
        QTest::keyClick(&list, c.key);
        EXPECT_EQ(std::pair(list.count(), list.currentRow()), std::pair(c.count, c.current));
    }
}

TEST_F(InfoListTest, Painting)
{
    const QColor background(220, 217, 200), grid(10, 20, 30), box(200, 0, 0);
    list.SetColors(Qt::black, background, Qt::darkGray, Qt::gray, grid, box);
    list.setCurrentRow(1);
    const QImage image = list.grab().toImage();
    const auto pixel = [&](int x, int y) { return QColor(image.pixel(x, y)); };
    const QRect item = list.rowRect(2);

    EXPECT_EQ(pixel(2, item.center().y()), background) << "expander column";
    EXPECT_EQ(pixel(100, item.bottom()), grid) << "grid line under a row";
    EXPECT_EQ(pixel(CInfoListBox::kIndent, list.viewport()->height() - 1), grid)
        << "grid line below the last row";
    EXPECT_EQ(pixel(18, list.rowRect(1).top() + 1), QColor(136, 136, 136)) << "selected item";
    EXPECT_EQ(pixel(18, item.top() + 1), background) << "item";
    EXPECT_EQ(pixel(item.right() - 1, item.top() + 1), list.palette().color(QPalette::Base))
        << "value column is not filled";

    // The plus has a bar through the minus: four more pixels of the box colour in its column.
    const auto boxPixels = [&](int row) {
        int count = 0;
        for (int y = list.rowRect(row).top(); y <= list.rowRect(row).bottom(); ++y)
            count += pixel(7, y) == box;
        return count;
    };
    EXPECT_EQ(boxPixels(3) - boxPixels(0), 4);
}

TEST_F(InfoListTest, AccessibleRows)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&list);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::List);
    ASSERT_EQ(accessible->childCount(), 4);
    QAccessibleInterface *recorder = accessible->child(0);
    QAccessibleInterface *more = accessible->child(3);
    EXPECT_TRUE(recorder->state().expandable && recorder->state().expanded);
    EXPECT_TRUE(more->state().expandable && more->state().collapsed);
    EXPECT_EQ(more->text(QAccessible::Name), QStringLiteral("More"));
    EXPECT_FALSE(accessible->child(1)->state().expandable);
    EXPECT_EQ(accessible->child(1)->text(QAccessible::Name), QStringLiteral("Name"));
    EXPECT_EQ(accessible->child(1)->text(QAccessible::Value), QStringLiteral("Lobby"));
    EXPECT_EQ(accessible->indexOfChild(accessible->child(2)), 2);

    more->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(accessible->childCount(), 7);
    EXPECT_TRUE(more->state().expanded);
    EXPECT_EQ(accessible->child(4)->text(QAccessible::Value), QStringLiteral("Ann"));
}

TEST(FontCacheTest, SameFontSameIndex)
{
    CInfoListBox withoutCache; // paints with a default font
    EXPECT_EQ(withoutCache.normalFontIndex(), -1);

    FontCache cache;
    FontCache second;
    EXPECT_EQ(FontCache::current(), &cache);
    const int bold = cache.getFont(QStringLiteral("Gulim"), 9, FontCache::Bold);
    EXPECT_EQ(cache.getFont(QStringLiteral("Gulim"), 9, FontCache::Bold), bold);
    EXPECT_EQ(cache.count(), 1);
    EXPECT_NE(cache.getFont(QStringLiteral("Gulim"), 9, FontCache::Italic), bold);
    EXPECT_EQ(cache.getFontAt(-1), nullptr);
    EXPECT_EQ(cache.getFontAt(cache.count()), nullptr);

    CInfoListBox list; // shares the bold font and adds the normal one
    EXPECT_EQ(list.boldFontIndex(), bold);
    EXPECT_EQ(cache.count(), 3);
    EXPECT_EQ(list.font(), *cache.getFontAt(list.normalFontIndex()));
}

} // namespace
