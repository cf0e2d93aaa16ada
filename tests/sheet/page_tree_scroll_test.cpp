#include "common/language.h"
#include "sheet/property_page.h"
#include "sheet/tree_prop_sheet.h"
#include "support/temp_install.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class PageTreeScrollTest : public ::testing::TestWithParam<const char *>
{
};

// Following the active page, the tree scrolls a row at a time and its scroll bar repaints only
// where the slider moved. The bar must look as it does repainted whole, whether the slider steps,
// jumps back to the top or comes back from the bottom.
TEST_P(PageTreeScrollTest, ScrollBarLooksAsRepaintedWhole)
{
    const TempInstall install; // without texts of their own, captions stay as they are
    install.write(QStringLiteral("Config/Path.ini"), "[PATH]\r\nxml_string=string.xml\r\n");
    install.write(QStringLiteral("Language/en/string.xml"), "<string><option/></string>");
    Common::releaseLanguage();
    QApplication::setStyle(QLatin1String(GetParam()));
    std::vector<std::unique_ptr<CPropertyPage>> pages; // outlive the sheet, as their owner's do
    CTreePropSheet sheet(QStringLiteral("Options"));
    for (int i = 0; i < 30; ++i) {
        pages.push_back(std::make_unique<CPropertyPage>(
            QStringLiteral("Group %1::Page %2").arg(i / 10).arg(i)));
        pages.back()->setMinimumSize(240, 160);
        sheet.AddPage(pages.back().get());
    }
    sheet.show();
    QScrollBar *bar = sheet.GetPageTree()->verticalScrollBar();
    const auto shown = [&] {
        const QPoint at = bar->mapTo(&sheet, QPoint());
        return sheet.screen()->grabWindow(sheet.winId(), at.x(), at.y(), bar->width(),
                                          bar->height());
    };

    int moves = 0;
    for (const int page : {1, 2, 3, 9, 10, 11, 12, 13, 19, 29, 0, 29, 28, 27, 15}) {
        const int before = bar->value();
        sheet.SetActivePage(page);
        QApplication::processEvents();
        moves += bar->value() != before;
        const QImage partly = shown().toImage();
        bar->repaint();
        EXPECT_EQ(partly, shown().toImage()) << "page " << page << ", value " << bar->value();
    }
    EXPECT_GT(moves, 5) << "the tree is too tall to scroll";
    sheet.hide();
    Common::releaseLanguage();
    QApplication::setStyle(QStringLiteral("fusion"));
}

INSTANTIATE_TEST_SUITE_P(Looks, PageTreeScrollTest, ::testing::Values("windows", "fusion"));

} // namespace
