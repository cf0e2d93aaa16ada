#include "common/language.h"
#include "controls/theme_library.h"
#include "sheet/property_page.h"
#include "sheet/themed_page_frame.h"
#include "sheet/tree_prop_sheet.h"
#include "support/temp_install.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegion>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const QByteArray kStrings = R"(<?xml version="1.0" encoding="UTF-8"?>
<string><option>
  <item id="General">General settings</item>
</option></string>
)";

// A page with an edit, that counts what the sheet asks of it and can refuse to be left.
class Page : public CPropertyPage
{
public:
    explicit Page(const QString &caption)
        : CPropertyPage(caption)
    {
        auto *layout = new QVBoxLayout(this);
        edit = new QLineEdit(this);
        layout->addWidget(edit);
        setMinimumSize(240, 160); // a page's usual size decides the sheet's
    }
    bool OnApply() override { return ++applied, CPropertyPage::OnApply(); }
    void OnCancel() override { ++cancelled; }
    bool OnKillActive() override { return !refuseLeaving && CPropertyPage::OnKillActive(); }

    QLineEdit *edit;
    int applied = 0;
    int cancelled = 0;
    bool refuseLeaving = false;
};

QIcon solidIcon(const QColor &colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// An installation with the option texts, a theme library, and the classic style to start with.
class TreePropSheetTest : public ::testing::Test
{
protected:
    TreePropSheetTest()
    {
        install.write(QStringLiteral("Config/Path.ini"), "[PATH]\r\nxml_string=string.xml\r\n");
        install.write(QStringLiteral("Language/en/string.xml"), kStrings);
        Common::releaseLanguage();
        QApplication::setStyle(QStringLiteral("windows"));
    }
    ~TreePropSheetTest() override
    {
        sheet.reset();
        Common::releaseLanguage();
        QApplication::setStyle(QStringLiteral("fusion"));
    }

    CTreePropSheet &open(const QStringList &captions, bool pageCaptions = true)
    {
        sheet = std::make_unique<CTreePropSheet>(QStringLiteral("Options"));
        for (const QString &caption : captions) {
            pages.push_back(std::make_unique<Page>(caption));
            sheet->AddPage(pages.back().get());
        }
        sheet->SetEmptyPageFormat(QStringLiteral("Select a page under \"%s\"."));
        sheet->EnablePageTree(true, pageCaptions, true);
        sheet->SetPageTreeImages({solidIcon(Qt::blue), solidIcon(Qt::yellow)});
        sheet->show();
        return *sheet;
    }
    QTreeWidget *tree() const { return sheet->GetPageTree(); }
    QString selected() const { return tree()->currentItem()->text(0); }
    QString shownPages() const
    {
        QStringList shown;
        for (const auto &page : pages) {
            if (page->isVisible())
                shown << page->GetCaption();
        }
        return shown.join(u',');
    }
    QTreeWidgetItem *row(const QString &text) const
    {
        const auto found = tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.constFirst();
    }

    TempInstall install;
    ThemeLibrary themes;
    std::vector<std::unique_ptr<Page>> pages; // outlive the sheet, as their owner's do
    std::unique_ptr<CTreePropSheet> sheet;
};

// Rows as "text(page index,image index)", children in brackets.
QString dump(const QTreeWidgetItem *row)
{
    QString text = row->text(0) % u'(' % row->data(0, CTreePropSheet::PageIndexRole).toString()
        % u',' % row->data(0, CTreePropSheet::ImageIndexRole).toString() % u')';
    if (row->childCount() > 0) {
        QStringList children;
        for (int i = 0; i < row->childCount(); ++i)
            children << dump(row->child(i));
        text += u'[' % children.join(u' ') % u']';
    }
    return text;
}

TEST_F(TreePropSheetTest, CaptionsPlaceRowsWithSharedParentsEscapesAndTexts)
{
    open({QStringLiteral("Network::Mail"), QStringLiteral("General"),
          QStringLiteral("Network::Phone"), QStringLiteral("Network::Fax"),
          QStringLiteral("A\\::B"), QStringLiteral("C\\::D::E"), QStringLiteral("F\\\\::G")});
    // Page 2 brings its own image, ahead of the two default images.
    pages[2]->SetIcon(solidIcon(Qt::red));
    sheet->SetPageTreeImages({solidIcon(Qt::blue), solidIcon(Qt::yellow)});

    QStringList rows;
    for (int i = 0; i < tree()->topLevelItemCount(); ++i)
        rows << dump(tree()->topLevelItem(i));
    EXPECT_EQ(rows.join(u' '),
              QStringLiteral("Network(-1,1)[Mail(0,2) Phone(2,0) Fax(3,2)] General settings(1,2) "
                             "A\\::B(4,2) C::D(-1,1)[E(5,2)] F\\(-1,1)[G(6,2)]"));
    EXPECT_EQ(sheet->pageImages().size(), 3);
    EXPECT_EQ(selected(), QStringLiteral("Mail"));
    EXPECT_FALSE(sheet->EnablePageTree(false)) << "the sheet is live";
    EXPECT_FALSE(sheet->SetPageTreeImages({solidIcon(Qt::blue)}));
}

TEST_F(TreePropSheetTest, NodeHidesThePageAndShowsTheEmptyPageText)
{
    open({QStringLiteral("Network::Mail"), QStringLiteral("Network::Phone")});
    CPageFrame *frame = sheet->GetPageFrame();
    tree()->setCurrentItem(row(QStringLiteral("Network")));
    EXPECT_EQ(shownPages(), QString());
    EXPECT_EQ(frame->GetMessageText(), QStringLiteral("Select a page under \"Network\"."));
    EXPECT_EQ(frame->GetCaptionText(), QStringLiteral("Network"));

    tree()->setCurrentItem(row(QStringLiteral("Phone")));
    EXPECT_EQ(shownPages(), QStringLiteral("Network::Phone"));
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_EQ(frame->GetCaptionText(), QStringLiteral("Phone"));

    // A page that refuses to be left keeps its row selected, for nodes and pages alike.
    pages[1]->refuseLeaving = true;
    for (const char *other : {"Network", "Mail"}) {
        tree()->setCurrentItem(row(QLatin1String(other)));
        EXPECT_EQ(selected(), QStringLiteral("Phone")) << other;
        EXPECT_EQ(shownPages(), QStringLiteral("Network::Phone")) << other;
    }
}

TEST_F(TreePropSheetTest, KeysWalkTheTreeAndTabEntersThePage)
{
    open({QStringLiteral("Network::Mail"), QStringLiteral("Network::Phone"),
          QStringLiteral("General")});
    QStringList forward;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(tree(), Qt::Key_Tab, Qt::ControlModifier);
        forward << selected();
    }
    EXPECT_EQ(forward.join(u','), QStringLiteral("Phone,General settings,Network,Mail,Phone"));

    tree()->setCurrentItem(row(QStringLiteral("Network")));
    QStringList backward;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(tree(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        backward << selected();
    }
    EXPECT_EQ(backward.join(u','), QStringLiteral("General settings,Phone,Mail,Network"));

    // Enter in the tree neither presses OK nor reaches the tree.
    QTest::keyClick(tree(), Qt::Key_Return);
    EXPECT_TRUE(sheet->isVisible());

    tree()->setCurrentItem(row(QStringLiteral("Mail")));
    QApplication::setActiveWindow(sheet.get());
    tree()->setFocus();
    QTest::keyClick(tree(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), pages[0]->edit);
    QTest::keyClick(pages[0]->edit, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(),
              sheet->findChild<QPushButton *>(QStringLiteral("okButton")));
}

TEST_F(TreePropSheetTest, ApplyFollowsTheModifiedState)
{
    open({QStringLiteral("One"), QStringLiteral("Two")});
    auto *apply = sheet->findChild<QPushButton *>(QStringLiteral("applyButton"));
    EXPECT_FALSE(apply->isEnabled());
    pages[0]->SetModified();
    EXPECT_TRUE(apply->isEnabled());
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_EQ(pages[0]->applied, 1);
    EXPECT_EQ(pages[1]->applied, 0) << "never shown";
    EXPECT_FALSE(pages[0]->IsModified());
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_TRUE(sheet->isVisible());
}

// OK applies every page that was shown and gives 1; Cancel and Escape give 2 and apply nothing.
TEST_F(TreePropSheetTest, ModalResults)
{
    const struct
    {
        const char *button;
        int result;
        int applied;
    } cases[] = {{"okButton", 1, 1}, {"cancelButton", 2, 0}, {nullptr, 2, 0}};
    for (const auto &c : cases) {
        pages.clear();
        open({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")});
        sheet->hide();
        sheet->SetActivePage(1);
        QTimer::singleShot(0, sheet.get(), [&] {
            sheet->SetActivePage(2);
            if (c.button)
                sheet->findChild<QPushButton *>(QLatin1String(c.button))->click();
            else
                QTest::keyClick(sheet.get(), Qt::Key_Escape);
        });
        EXPECT_EQ(sheet->exec(), c.result);
        for (const auto &page : pages) // "One" was shown first, when the sheet opened
            EXPECT_EQ(page->applied, c.applied) << page->GetCaption().toStdString();
        EXPECT_EQ(pages[2]->cancelled, 1 - c.applied);
    }
}

TEST_F(TreePropSheetTest, WithoutCaptionsTheSheetIsOneTabRowShorter)
{
    open({QStringLiteral("One")}, true);
    const int withCaptions = sheet->height();
    const int tabRow = sheet->GetPageFrame()->GetCaptionBarHeight();
    open({QStringLiteral("One")}, false);
    EXPECT_GT(tabRow, 0);
    EXPECT_EQ(withCaptions - sheet->height(), tabRow);
}

// The frame's areas in the classic and the themed look, with the caption bar shown and hidden.
class PageFrameTest : public TreePropSheetTest, public ::testing::WithParamInterface<const char *>
{
protected:
    PageFrameTest()
    {
        QApplication::setStyle(QLatin1String(GetParam()));
        frame.CreateFrameWindow(&parent, QRect(0, 0, 300, 200), 0xFFFF);
        frame.SetCaptionBarHeight(kCaption);
    }
    QImage caption(const QString &text, int width)
    {
        QImage image(200, kCaption, QImage::Format_RGB32);
        image.fill(Qt::green);
        QPainter painter(&image);
        frame.PaintCaption(painter, QRect(0, 0, width, kCaption), text, QIcon());
        return image;
    }

    static constexpr int kCaption = 20;
    QWidget parent;
    CThemedPageFrame frame;
};

TEST_P(PageFrameTest, Rectangles)
{
    const QRect client = frame.rect();
    const bool themed = ThemeLibrary::themed();
    const QRect plain = frame.GetMessageRect();
    EXPECT_EQ(frame.GetCaptionRect().height(), 0);
    if (themed) {
        EXPECT_TRUE(client.contains(plain) && plain != client) << "inside the tab pane";
    } else {
        EXPECT_EQ(plain, client);
    }
    frame.SetCaptionVisible(true);
    const QRect message = frame.GetMessageRect();
    const QRect bar = frame.GetCaptionRect();
    EXPECT_EQ(message.top(), client.top() + kCaption + 1);
    EXPECT_EQ(message.bottom(), plain.bottom());
    EXPECT_EQ(bar.bottom(), client.top() + kCaption - 1);
    EXPECT_EQ(bar.left(), plain.left());
    EXPECT_EQ(bar.right(), plain.right());
}

// The gradient covers one column more than the bar is wide; a long caption ends in an ellipsis.
TEST_P(PageFrameTest, CaptionBar)
{
    const QImage image = caption(QString(), 101);
    int painted = 0;
    while (painted < image.width() && image.pixelColor(painted, 5) != QColor(Qt::green))
        ++painted;
    EXPECT_EQ(painted, 102);
    EXPECT_EQ(image.pixelColor(0, 5), frame.activeCaptionColour());
    EXPECT_EQ(image.pixelColor(0, 0), image.pixelColor(0, kCaption - 1)) << "a whole column";

    const QString text = QStringLiteral("A caption far too long for the narrow bar it is given");
    const QString elided = QFontMetrics(QApplication::font()).elidedText(text, Qt::ElideRight, 99);
    ASSERT_NE(elided, text);
    EXPECT_EQ(caption(text, 101), caption(elided, 101));
}

TEST_P(PageFrameTest, MessageSetBeforeTheWindowExistsIsPainted)
{
    CThemedPageFrame early;
    early.SetMessageText(QStringLiteral("No page here"));
    EXPECT_EQ(early.GetFrameWindow(), nullptr);
    early.CreateFrameWindow(&parent, frame.geometry(), 0xFFFF);
    frame.SetCaptionBarHeight(0);
    EXPECT_NE(early.grab().toImage(), frame.grab().toImage());
    frame.SetMessageText(QStringLiteral("No page here"));
    EXPECT_EQ(early.grab().toImage(), frame.grab().toImage());
}

// A page switch exposes the caption bar and the page's area, apart from each other. Painted one
// exposed rectangle after the other, the frame must look as it does painted whole: the bar and
// the text over the pane, wherever the rectangles lie and in whatever order they come.
TEST_P(PageFrameTest, ExposedRectanglesLookAsTheWholeFrame)
{
    frame.SetCaptionVisible(true);
    frame.SetCaptionContent(QStringLiteral("Network"), QIcon());
    frame.SetMessageText(QStringLiteral("Select one of the pages"));
    const QRect message = frame.GetMessageRect();
    const QRegion exposed = QRegion(frame.GetCaptionRect()) + message.adjusted(0, 0, 0, -40)
        + QRect(0, message.bottom() - 20, frame.width(), 21);
    ASSERT_GT(exposed.rectCount(), 2);
    // The region is drawn where it lies: the themed pane's starts inside the frame's edge.
    const auto rendered = [this](const QRegion &region) {
        QImage image(frame.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::green);
        frame.render(&image, region.boundingRect().topLeft(), region);
        return image;
    };
    QImage expected(frame.size(), QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::green);
    {
        QPainter painter(&expected);
        painter.setClipRegion(exposed);
        painter.drawImage(0, 0, rendered(frame.rect()));
    }
    EXPECT_EQ(rendered(exposed), expected);
}

INSTANTIATE_TEST_SUITE_P(Looks, PageFrameTest, ::testing::Values("windows", "fusion"));

} // namespace
