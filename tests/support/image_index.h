// Which image of a strip a shown icon is.
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>

// The index of the image that icon shows (its normal pixels), or -1.
inline int imageIndex(const QList<QIcon> &images, const QIcon &icon)
{
    for (qsizetype i = 0; i < images.size(); ++i) {
        if (images.at(i).cacheKey() == icon.cacheKey())
            return static_cast<int>(i);
    }
    // Loaded twice, the same cell gives another icon with the same pixels.
    const QImage pixels = icon.pixmap(16, 16).toImage();
    for (qsizetype i = 0; i < images.size(); ++i) {
        if (images.at(i).pixmap(16, 16).toImage() == pixels)
            return static_cast<int>(i);
    }
    return -1;
}
