// The module's images: decoded once, and image strips cut into one icon per cell. Each image may
// have a version drawn at twice the resolution beside it (name@2x.png), for scaled screens.
#pragma once

#include <QColor>
#include <QIcon>
#include <QList>
#include <QString>

class QPixmap;

namespace setupmgr {

// One of the module's images, decoded once: above a device pixel ratio of 1 its 2x version
// (device pixel ratio 2) where there is one, else the image itself.
QPixmap cachedPixmap(const QString &resource, qreal devicePixelRatio = 1.0);
// One icon per cell of an image strip, cells cellWidth pixels wide and as high as the strip,
// with the mask colour made transparent. Each icon holds the cell at 1x and, where the strip
// has a 2x version, the same cell from it, so that a scaled screen paints the finer one.
QList<QIcon> loadImageList(const QString &resource, int cellWidth = 16,
                           const QColor &mask = QColor(255, 0, 255));

} // namespace setupmgr
