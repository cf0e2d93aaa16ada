// The module's images: decoded once, and image strips cut into one icon per cell.
#pragma once

#include <QColor>
#include <QIcon>
#include <QList>
#include <QString>

class QPixmap;

namespace setupmgr {

// One of the module's images, decoded once.
QPixmap cachedPixmap(const QString &resource);
// One icon per cell of an image strip, cells cellWidth pixels wide and as high as the strip,
// with the mask colour made transparent.
QList<QIcon> loadImageList(const QString &resource, int cellWidth = 16,
                           const QColor &mask = QColor(255, 0, 255));

} // namespace setupmgr
