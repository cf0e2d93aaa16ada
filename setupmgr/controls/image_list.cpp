#include "image_list.h"

#include <QBitmap>
#include <QFile>
#include <QPixmap>
#include <QPixmapCache>

namespace setupmgr {

namespace {

constexpr qreal kFineRatio = 2.0;

// Where Qt looks for an image's 2x version: "name@2x.png" beside "name.png".
QString fineVersion(const QString &resource)
{
    QString fine = resource;
    const qsizetype dot = resource.lastIndexOf(QLatin1Char('.'));
    return fine.insert(dot < 0 ? fine.size() : dot, QLatin1String("@2x"));
}

QPixmap cell(const QPixmap &strip, int index, int cellWidth, const QColor &mask)
{
    const int ratio = qRound(strip.devicePixelRatio());
    QPixmap cell = strip.copy(index * cellWidth * ratio, 0, cellWidth * ratio, strip.height());
    cell.setMask(cell.createMaskFromColor(mask, Qt::MaskInColor));
    cell.setDevicePixelRatio(ratio);
    return cell;
}

} // namespace

// The module's images are compiled in and never change; each is decoded once and then kept in
// Qt's pixmap cache (which lives and dies with the application).
QPixmap cachedPixmap(const QString &resource, qreal devicePixelRatio)
{
    const QString fine = fineVersion(resource);
    const bool useFine = devicePixelRatio > 1.0 && QFile::exists(fine);
    const QString &file = useFine ? fine : resource;
    QPixmap pixmap;
    if (!QPixmapCache::find(file, &pixmap) && pixmap.load(file)) {
        pixmap.setDevicePixelRatio(useFine ? kFineRatio : 1.0);
        QPixmapCache::insert(file, pixmap);
    }
    return pixmap;
}

QList<QIcon> loadImageList(const QString &resource, int cellWidth, const QColor &mask)
{
    QList<QIcon> images;
    const QPixmap strip = cachedPixmap(resource);
    const QPixmap fine = cachedPixmap(resource, kFineRatio);
    // A 2x version of another layout would hand out other pictures for the same index.
    const bool hasFine
        = fine.devicePixelRatio() == kFineRatio && fine.size() == strip.size() * kFineRatio;
    for (int index = 0; cellWidth > 0 && (index + 1) * cellWidth <= strip.width(); ++index) {
        QIcon icon(cell(strip, index, cellWidth, mask));
        if (hasFine)
            icon.addPixmap(cell(fine, index, cellWidth, mask));
        images.append(icon);
    }
    return images;
}

} // namespace setupmgr
