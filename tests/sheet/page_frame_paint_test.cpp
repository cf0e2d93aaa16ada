#include "sheet/themed_page_frame.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include <gtest/gtest.h>

namespace {

class PageFramePaintTest : public ::testing::TestWithParam<const char *>
{
protected:
    PageFramePaintTest() { QApplication::setStyle(QLatin1String(GetParam())); }
    ~PageFramePaintTest() override { QApplication::setStyle(QStringLiteral("fusion")); }
};

QImage rendered(QWidget &widget, const QRegion &region)
{
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::green);
    widget.render(&image, QPoint(), region);
    return image;
}

// A page switch exposes the caption bar and the page's area, apart from each other. Painted one
// exposed rectangle after the other, the frame must look as it does painted whole: the bar and
// the text over the pane, wherever the rectangles lie and in whatever order they come.
TEST_P(PageFramePaintTest, ExposedRectanglesLookAsTheWholeFrame)
{
    QWidget parent;
    CThemedPageFrame frame;
    frame.CreateFrameWindow(&parent, QRect(0, 0, 240, 200), 0xFFFF);
    frame.SetCaptionBarHeight(20);
    frame.SetCaptionVisible(true);
    frame.SetCaptionContent(QStringLiteral("Network"), QIcon());
    frame.SetMessageText(QStringLiteral("Select one of the pages"));

    const QRect message = frame.GetMessageRect();
    const QRegion exposed = QRegion(frame.GetCaptionRect()) + message.adjusted(0, 0, 0, -40)
        + QRect(0, message.bottom() - 20, frame.width(), 21);
    ASSERT_GT(exposed.rectCount(), 2);
    QImage expected(frame.size(), QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::green);
    {
        QPainter painter(&expected);
        painter.setClipRegion(exposed);
        painter.drawImage(0, 0, rendered(frame, frame.rect()));
    }
    EXPECT_EQ(rendered(frame, exposed), expected);
}

INSTANTIATE_TEST_SUITE_P(Looks, PageFramePaintTest, ::testing::Values("windows", "fusion"));

} // namespace
