// The page frame as a window: the body of a tab control behind the pages (drawn by the style when
// themed drawing is in use, in the 3-D face colour otherwise), a caption bar that runs from the
// active-caption colour into the background, and the message when no page is shown.
#pragma once

#include "sheet/page_frame.h"

#include <QPixmap>
#include <QWidget>

class QStyleOptionTabWidgetFrame;

class CThemedPageFrame : public QWidget, public CPageFrame
{
    Q_OBJECT

public:
    explicit CThemedPageFrame(QWidget *parent = nullptr);
    ~CThemedPageFrame() override;

    bool CreateFrameWindow(QWidget *parent, const QRect &rect, int controlId) override;
    QWidget *GetFrameWindow() override;

    // Also keeps a pixmap of the icon at its own size for the caption bar.
    void SetCaptionContent(const QString &text, const QIcon &icon) override;
    QRect GetMessageRect() override;
    QRect GetCaptionRect() override;
    // A gradient over every column of rect and one beyond it, the icon, and the text, cut with
    // an ellipsis when it does not fit.
    void PaintCaption(QPainter &painter, const QRect &rect, const QString &text,
                      const QIcon &icon) override;

    // Where the caption gradient starts, and the colour of the caption text.
    QColor activeCaptionColour() const;
    QColor captionTextColour() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QStyleOptionTabWidgetFrame paneOption() const;
    // The tab pane's content area, inside its border.
    QRect paneContentRect() const;
    void paintBackground(QPainter &painter) const;
    // The background's colour at a point of the frame.
    QColor backgroundPixel(const QPoint &point) const;

    QPixmap m_captionImage;
    bool m_created = false;
};
