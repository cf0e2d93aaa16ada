// The frame behind a property sheet's pages: it may show a caption bar above the page and shows a
// centred message when no page is shown. The interface and the behaviour every frame shares;
// the window and the look come from a subclass (CThemedPageFrame).
#pragma once

#include <QIcon>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

class CPageFrame
{
public:
    CPageFrame() = default;
    virtual ~CPageFrame();
    CPageFrame(const CPageFrame &) = delete;
    CPageFrame &operator=(const CPageFrame &) = delete;

    // Makes the frame's window a child of parent over rect, with its control id.
    virtual bool CreateFrameWindow(QWidget *parent, const QRect &rect, int controlId) = 0;
    // The frame's window; null until CreateFrameWindow has made it.
    virtual QWidget *GetFrameWindow() = 0;

    // Each change repaints only the area it affects, once the window exists.
    virtual void SetCaptionVisible(bool visible);
    virtual void SetCaptionBarHeight(int height);
    virtual void SetCaptionContent(const QString &text, const QIcon &icon);
    virtual void SetMessageText(const QString &text);
    // Qt::Alignment and Qt::TextFlag values for the message.
    virtual void SetMessageFlags(int flags);

    // The caption bar (when shown), then the message.
    virtual void PaintFrame(QPainter &painter);
    // The area below the caption bar, where the message and the pages go.
    virtual QRect GetMessageRect();
    virtual void PaintMessage(QPainter &painter, const QRect &rect, const QString &text, int flags);
    // The caption bar; empty when it is hidden.
    virtual QRect GetCaptionRect();
    // The base draws no caption.
    virtual void PaintCaption(QPainter &painter, const QRect &rect, const QString &text,
                              const QIcon &icon);

    bool IsCaptionVisible() const { return m_captionVisible; }
    int GetCaptionBarHeight() const { return m_captionHeight; }
    QString GetCaptionText() const { return m_captionText; }
    QIcon GetCaptionIcon() const { return m_captionIcon; }
    QString GetMessageText() const { return m_messageText; }
    int GetMessageFlags() const { return m_messageFlags; }

protected:
    // The window's client rectangle; empty without a window.
    QRect clientRect();
    void invalidate(const QRect &rect);

private:
    bool m_captionVisible = false;
    int m_captionHeight = 0;
    QString m_captionText;
    QIcon m_captionIcon;
    QString m_messageText;
    int m_messageFlags = Qt::AlignCenter | Qt::TextSingleLine;
};
