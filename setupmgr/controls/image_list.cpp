#include "image_list.h"

#include <QBitmap>
#include <QPixmap>
#include <QPixmapCache>

namespace setupmgr {

// The module's images are compiled in and never change; each is decoded once and then kept in
// Qt's pixmap cache (which lives and dies with the application).
QPixmap cachedPixmap(const QString &resource)
{
    QPixmap pixmap;
    if (!QPixmapCache::find(resource, &pixmap) && pixmap.load(resource))
        QPixmapCache::insert(resource, pixmap);
    return pixmap;
}

QList<QIcon> loadImageList(const QString &resource, int cellWidth, const QColor &mask)
{
    QList<QIcon> images;
    const QPixmap strip = cachedPixmap(resource);
    for (int x = 0; cellWidth > 0 && x + cellWidth <= strip.width(); x += cellWidth) {
        QPixmap cell = strip.copy(x, 0, cellWidth, strip.height());
        cell.setMask(cell.createMaskFromColor(mask, Qt::MaskInColor));
        images.append(QIcon(cell));
    }
    return images;
}

} // namespace setupmgr
