// Crisp at any scale, sensible at any size: every picture has a finer 2x twin that the image
// lists hand out on scaled screens, and the managers give the room of a larger dialog to their
// tree and details without moving the tree when the details change.
#include "account/account_manager_dlg.h"
#include "common/language.h"
#include "controls/image_list.h"
#include "server/server_list_dlg.h"
#include "support/memory_providers.h"
#include "support/temp_install.h"

#include <QApplication>
#include <QDirIterator>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

const QColor kMagenta(255, 0, 255);

// Pixel (x, y) of the 2x picture's cell differs somewhere within its 2x2 block: no 1x picture
// enlarged by repeating pixels could give it.
bool hasFinerDetail(const QImage &fine, const QRect &cell)
{
    for (int y = cell.top(); y < cell.bottom(); y += 2) {
        for (int x = cell.left(); x < cell.right(); x += 2) {
            const QRgb corner = fine.pixel(x, y);
            if (fine.pixel(x + 1, y) != corner || fine.pixel(x, y + 1) != corner
                || fine.pixel(x + 1, y + 1) != corner)
                return true;
        }
    }
    return false;
}

TEST(ImageScale, EveryPictureHasATwinOfTwiceTheSizeWithFinerDetail)
{
    int pictures = 0;
    for (const char *folder : {"setupmgr", "client"}) {
        QDirIterator it(QStringLiteral(OSTREL_SOURCE_DIR "/") + QLatin1String(folder),
                        {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.endsWith(QLatin1String("@2x.png")))
                continue;
            ++pictures;
            const QImage picture(path);
            const QImage fine(path.chopped(4) + QLatin1String("@2x.png"));
            SCOPED_TRACE(path.toStdString());
            ASSERT_FALSE(fine.isNull());
            EXPECT_EQ(fine.size(), picture.size() * 2);
            EXPECT_TRUE(hasFinerDetail(fine, fine.rect()));
        }
    }
    EXPECT_GE(pictures, 7);
}

// The picture as an icon shows it: the mask colour transparent, every other pixel unchanged.
void expectShown(const QPixmap &shown, const QImage &strip, const QRect &cell, const QColor &mask)
{
    const QImage image = shown.toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), cell.size());
    for (int y = 0; y < cell.height(); ++y) {
        for (int x = 0; x < cell.width(); ++x) {
            const QColor source = strip.pixelColor(cell.x() + x, cell.y() + y);
            const QColor pixel = image.pixelColor(x, y);
            if (source == mask)
                ASSERT_EQ(pixel.alpha(), 0) << x << "," << y;
            else
                ASSERT_EQ(pixel, source) << x << "," << y;
        }
    }
}

TEST(ImageScale, ImageListsHandOutTheFinerCellsAtTheSameIndices)
{
    const struct
    {
        const char *resource;
        int cellWidth;
        QColor mask;
    } strips[] = {
        {":/ostrel/account/account_images.png", 16, kMagenta},
        {":/ostrel/account/authority_images.png", 16, kMagenta},
        {":/ostrel/server/server_images.png", 16, kMagenta},
        {":/ostrel/options/option_page_images.png", 20, kMagenta},
        {":/ostrel/options/option_sheet_images.png", 16, QColor(0, 128, 128)},
    };
    for (const auto &strip : strips) {
        const QString resource = QLatin1String(strip.resource);
        SCOPED_TRACE(strip.resource);
        const QImage coarse(resource);
        const QImage fine(resource.chopped(4) + QLatin1String("@2x.png"));
        const QList<QIcon> icons = setupmgr::loadImageList(resource, strip.cellWidth, strip.mask);
        ASSERT_EQ(icons.size(), coarse.width() / strip.cellWidth);
        const QSize size(strip.cellWidth, coarse.height());
        for (qsizetype i = 0; i < icons.size(); ++i) {
            SCOPED_TRACE(i);
            const QRect cell(QPoint(int(i) * strip.cellWidth, 0), size);
            const QRect fineCell(cell.topLeft() * 2, size * 2);
            expectShown(icons.at(i).pixmap(size, 1.0), coarse, cell, strip.mask);
            const QPixmap scaled = icons.at(i).pixmap(size, 2.0);
            EXPECT_EQ(scaled.devicePixelRatio(), 2.0);
            expectShown(scaled, fine, fineCell, strip.mask);
            EXPECT_TRUE(hasFinerDetail(fine, fineCell));
        }
    }
}

// The managers on the embedded installation's texts.
class ManagerResize : public ::testing::Test
{
protected:
    void SetUp() override
    {
        install.copyFrom(QStringLiteral(OSTREL_SOURCE_DIR "/install"));
        Common::releaseLanguage();
    }
    void TearDown() override { Common::releaseLanguage(); }

    // Selecting plain shows the details without their list, selecting listed with it: the tree
    // keeps its width. A larger dialog gives the tree and the list more room, and the banner
    // fills the left edge.
    void expectSensibleSizes(QDialog &dialog, QTreeWidget *tree, QTreeWidgetItem *plain,
                             QTreeWidgetItem *listed, QWidget *list)
    {
        dialog.show();
        tree->setCurrentItem(plain);
        QApplication::processEvents();
        ASSERT_FALSE(list->isVisible());
        const int treeWidth = tree->width();
        tree->setCurrentItem(listed);
        QApplication::processEvents();
        ASSERT_TRUE(list->isVisible());
        EXPECT_EQ(tree->width(), treeWidth);

        const QSize treeSize = tree->size();
        const QSize listSize = list->size();
        dialog.resize(dialog.size() + QSize(300, 200));
        QApplication::processEvents();
        EXPECT_GE(tree->width(), treeSize.width() + 100);
        EXPECT_GE(tree->height(), treeSize.height() + 150);
        EXPECT_GE(list->width(), listSize.width() + 100);
        EXPECT_GE(list->height(), listSize.height() + 150);
        EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("banner"))->height(), dialog.height());
    }

    TempInstall install;
};

TEST_F(ManagerResize, RecorderManager)
{
    testhost::ServerListProvider servers;
    servers.data.addServer("Lobby");
    CServerListDlg dialog;
    dialog.SetProvider(&servers);
    dialog.show();
    auto *tree = dialog.findChild<QTreeWidget *>(QStringLiteral("serverTree"));
    expectSensibleSizes(dialog, tree, tree->topLevelItem(0),
                        tree->findItems(QStringLiteral("Lobby"), Qt::MatchRecursive).value(0),
                        dialog.findChild<QWidget *>(QStringLiteral("infoList")));
}

TEST_F(ManagerResize, AccountManager)
{
    testhost::AccountProvider accounts;
    accounts.data.addUser("bob", "pw", "Bob");
    accounts.data.addGroup("staff", {{MemberUser, "bob"}});
    CAccountManagerDlg dialog;
    dialog.SetProvider(&accounts);
    dialog.show();
    auto *tree = dialog.findChild<QTreeWidget *>(QStringLiteral("accountTree"));
    const auto item = [tree](const char *text) {
        return tree->findItems(QLatin1String(text), Qt::MatchRecursive).value(0);
    };
    expectSensibleSizes(dialog, tree, item("bob"), item("staff"),
                        dialog.findChild<QListWidget *>(QStringLiteral("memberList")));
}

} // namespace
