#include "themed_page_frame.h"

#include "controls/control_factory.h"
#include "controls/theme_library.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>

#include <algorithm>

namespace {
constexpr int kIconMargin = 3;
constexpr int kTextMargin = 2;
} // namespace

CThemedPageFrame::CThemedPageFrame(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pageFrame"));
    setWindowTitle(QStringLiteral("Page Frame"));
    setAccessibleName(QStringLiteral("Page Frame"));
}

CThemedPageFrame::~CThemedPageFrame() = default;

bool CThemedPageFrame::CreateFrameWindow(QWidget *parent, const QRect &rect, int controlId)
{
    setParent(parent);
    setupmgr::markControl(this, controlId, "pageFrame");
    setGeometry(rect);
    m_created = true;
    show();
    return true;
}

QWidget *CThemedPageFrame::GetFrameWindow()
{
    return m_created ? this : nullptr;
}

void CThemedPageFrame::SetCaptionContent(const QString &text, const QIcon &icon)
{
    CPageFrame::SetCaptionContent(text, icon);
    m_captionImage = QPixmap();
    if (!icon.isNull()) {
        const QList<QSize> sizes = icon.availableSizes();
        m_captionImage = icon.pixmap(sizes.isEmpty() ? QSize(16, 16) : sizes.constFirst());
    }
}

QRect CThemedPageFrame::GetMessageRect()
{
    QRect rect = clientRect();
    if (ThemeLibrary::themed() && m_created) {
        const int top = rect.top();
        rect = paneContentRect();
        if (IsCaptionVisible())
            rect.setTop(top + GetCaptionBarHeight() + 1);
    } else if (IsCaptionVisible()) {
        rect.setTop(rect.top() + GetCaptionBarHeight() + 1);
    }
    return rect;
}

QRect CThemedPageFrame::GetCaptionRect()
{
    const QRect client = clientRect();
    if (ThemeLibrary::themed() && m_created) {
        const QRect content = paneContentRect();
        const int bottom
            = IsCaptionVisible() ? client.top() + GetCaptionBarHeight() : content.top();
        return QRect(content.left(), content.top(), content.width(), bottom - content.top());
    }
    return QRect(client.left(), client.top(), client.width(),
                 IsCaptionVisible() ? GetCaptionBarHeight() : 0);
}

void CThemedPageFrame::PaintCaption(QPainter &painter, const QRect &rect, const QString &text,
                                    const QIcon &icon)
{
    // The bar fades into whatever lies at its right end, so that it ends softly on any theme.
    const QColor left = activeCaptionColour();
    const QColor right = backgroundPixel(QPoint(rect.right(), rect.top()));
    // One column beyond the bar's width as well; the columns go out as one image, since a fill
    // per column costs more than the rest of the frame.
    const int columns = rect.width() + 1;
    const double span = std::max(rect.width(), 1);
    double red = left.red(), green = left.green(), blue = left.blue();
    const double stepRed = (right.red() - left.red()) / span;
    const double stepGreen = (right.green() - left.green()) / span;
    const double stepBlue = (right.blue() - left.blue()) / span;
    if (rect.height() > 0) {
        QImage gradient(columns, rect.height(), QImage::Format_RGB32);
        auto *first = reinterpret_cast<QRgb *>(gradient.scanLine(0));
        for (int x = 0; x < columns; ++x) {
            first[x] = qRgb(static_cast<int>(red), static_cast<int>(green), static_cast<int>(blue));
            red += stepRed;
            green += stepGreen;
            blue += stepBlue;
        }
        for (int y = 1; y < rect.height(); ++y)
            std::copy_n(first, columns, reinterpret_cast<QRgb *>(gradient.scanLine(y)));
        painter.drawImage(rect.topLeft(), gradient);
    }

    QRect area = rect;
    if (!icon.isNull() && !m_captionImage.isNull()) {
        const QSize size = m_captionImage.deviceIndependentSize().toSize();
        const int middle = (rect.top() + rect.top() + rect.height()) / 2;
        painter.drawPixmap(rect.left() + kIconMargin, middle - size.height() / 2, m_captionImage);
        area.setLeft(area.left() + kIconMargin + size.width());
    }
    area.setLeft(area.left() + kTextMargin);

    painter.save();
    const QFont font = QApplication::font();
    painter.setFont(font);
    painter.setPen(captionTextColour());
    painter.setBackgroundMode(Qt::TransparentMode);
    const QString shown
        = QFontMetrics(font).elidedText(text, Qt::ElideRight, std::max(area.width(), 0));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    painter.restore();
}

QColor CThemedPageFrame::activeCaptionColour() const
{
    return palette().color(QPalette::Active, QPalette::Highlight);
}

QColor CThemedPageFrame::captionTextColour() const
{
    return palette().color(QPalette::Active, QPalette::HighlightedText);
}

void CThemedPageFrame::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // A page switch exposes the page's area and the caption bar, two rectangles. Painted one
    // rectangle at a time, the pane is filled on the spot; under a clip of several rectangles
    // the raster engine hands its tall fills to worker threads, and waiting for them costs more
    // than the fill.
    for (const QRect &area : event->region()) {
        painter.setClipRect(area);
        paintBackground(painter);
    }
    painter.setClipping(false);
    PaintFrame(painter);
}

QStyleOptionTabWidgetFrame CThemedPageFrame::paneOption() const
{
    QStyleOptionTabWidgetFrame option;
    option.initFrom(this);
    option.rect = rect();
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    option.shape = QTabBar::RoundedNorth;
    return option;
}

QRect CThemedPageFrame::paneContentRect() const
{
    const QStyleOptionTabWidgetFrame option = paneOption();
    return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
}

void CThemedPageFrame::paintBackground(QPainter &painter) const
{
    if (ThemeLibrary::themed()) {
        const QStyleOptionTabWidgetFrame option = paneOption();
        style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
    } else {
        painter.fillRect(rect(), palette().color(QPalette::Button));
    }
}

QColor CThemedPageFrame::backgroundPixel(const QPoint &point) const
{
    QImage pixel(1, 1, QImage::Format_ARGB32_Premultiplied);
    // Where the pane leaves a corner open, the sheet's face shows through.
    pixel.fill(palette().color(QPalette::Window));
    QPainter painter(&pixel);
    painter.translate(-point);
    paintBackground(painter);
    painter.end();
    return pixel.pixelColor(0, 0);
}
