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
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

const QColor kMagenta(255, 0, 255);

// Some 2x2 block of the picture holds more than one colour: repeating the pixels of a picture
// half its size cannot give it.
bool hasFinerDetail(const QImage &fine)
{
    return fine != fine.scaled(fine.size() / 2).scaled(fine.size());
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
            EXPECT_TRUE(hasFinerDetail(fine));
        }
    }
    EXPECT_GE(pictures, 7);
}

// The cell of a strip as an icon shows it: the mask colour transparent.
QImage masked(const QImage &strip, const QRect &cell, const QColor &mask)
{
    QImage image = strip.copy(cell).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == mask)
                image.setPixel(x, y, 0);
        }
    }
    return image;
}

QImage shown(const QIcon &icon, const QSize &size, qreal ratio)
{
    const QPixmap pixmap = icon.pixmap(size, ratio);
    EXPECT_EQ(pixmap.devicePixelRatio(), ratio);
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
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
            EXPECT_EQ(shown(icons.at(i), size, 1.0), masked(coarse, cell, strip.mask));
            EXPECT_EQ(shown(icons.at(i), size, 2.0), masked(fine, fineCell, strip.mask));
            EXPECT_TRUE(hasFinerDetail(fine.copy(fineCell)));
        }
    }
}

// The managers on the embedded installation's texts. Selecting plain shows the details without
// their list, selecting listed with it: the tree keeps its width. A larger dialog gives the tree
// and the list more room, and the banner fills the left edge.
class ManagerResize : public ::testing::Test
{
protected:
    void SetUp() override
    {
        install.copyFrom(QStringLiteral(OSTREL_SOURCE_DIR "/install"));
        Common::releaseLanguage();
    }
    void TearDown() override { Common::releaseLanguage(); }

    void expectSensibleSizes(QDialog &dialog, const char *treeName, const char *plain,
                             const char *listed, const char *listName)
    {
        dialog.show();
        auto *tree = dialog.findChild<QTreeWidget *>(QLatin1String(treeName));
        auto *list = dialog.findChild<QWidget *>(QLatin1String(listName));
        const auto select = [tree](const char *text) {
            tree->setCurrentItem(tree->findItems(QLatin1String(text), Qt::MatchRecursive).value(0));
            QApplication::processEvents();
        };
        select(plain);
        ASSERT_FALSE(list->isVisible());
        const QSize treeSize = tree->size();
        select(listed);
        ASSERT_TRUE(list->isVisible());
        EXPECT_EQ(tree->width(), treeSize.width());

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
    expectSensibleSizes(dialog, "serverTree", "DVR", "Lobby", "infoList");
}

TEST_F(ManagerResize, AccountManager)
{
    testhost::AccountProvider accounts;
    accounts.data.addUser("bob", "pw", "Bob");
    accounts.data.addGroup("staff", {{MemberUser, "bob"}});
    CAccountManagerDlg dialog;
    dialog.SetProvider(&accounts);
    expectSensibleSizes(dialog, "accountTree", "bob", "staff", "memberList");
}

} // namespace
