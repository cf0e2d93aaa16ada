#include "page_frame.h"

#include <QPainter>
#include <QWidget>

CPageFrame::~CPageFrame() = default;

void CPageFrame::SetCaptionVisible(bool visible)
{
    m_captionVisible = visible;
    invalidate(GetCaptionRect());
}

void CPageFrame::SetCaptionBarHeight(int height)
{
    m_captionHeight = height;
    invalidate(GetCaptionRect());
}

void CPageFrame::SetCaptionContent(const QString &text, const QIcon &icon)
{
    m_captionText = text;
    m_captionIcon = icon;
    invalidate(GetCaptionRect());
}

void CPageFrame::SetMessageText(const QString &text)
{
    m_messageText = text;
    invalidate(GetMessageRect());
}

void CPageFrame::SetMessageFlags(int flags)
{
    m_messageFlags = flags;
    invalidate(GetMessageRect());
}

void CPageFrame::PaintFrame(QPainter &painter)
{
    if (m_captionVisible)
        PaintCaption(painter, GetCaptionRect(), m_captionText, m_captionIcon);
    PaintMessage(painter, GetMessageRect(), m_messageText, m_messageFlags);
}

QRect CPageFrame::GetMessageRect()
{
    QRect rect = clientRect();
    if (m_captionVisible)
        rect.setTop(rect.top() + m_captionHeight);
    return rect;
}

void CPageFrame::PaintMessage(QPainter &painter, const QRect &rect, const QString &text, int flags)
{
    const Qt::BGMode mode = painter.backgroundMode();
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(rect, flags, text);
    painter.setBackgroundMode(mode);
}

QRect CPageFrame::GetCaptionRect()
{
    QRect rect = clientRect();
    rect.setHeight(m_captionVisible ? m_captionHeight : 0);
    return rect;
}

void CPageFrame::PaintCaption(QPainter &, const QRect &, const QString &, const QIcon &) { }

QRect CPageFrame::clientRect()
{
    QWidget *window = GetFrameWindow();
    return window ? window->rect() : QRect();
}

void CPageFrame::invalidate(const QRect &rect)
{
    if (QWidget *window = GetFrameWindow())
        window->update(rect);
}
