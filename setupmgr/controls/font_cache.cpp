#include "font_cache.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {

FontCache *g_current = nullptr;

constexpr qreal kDefaultDpi = 96;

// Points to pixels on the desktop display, rounded as the platform's MulDiv rounds.
int pixelHeight(int pointSize)
{
    qreal dpi = kDefaultDpi;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            dpi = screen->logicalDotsPerInchY();
    }
    return static_cast<int>(std::lround(pointSize * dpi / 72.0));
}

} // namespace

FontCache::FontCache()
{
    if (!g_current)
        g_current = this;
}

FontCache::~FontCache()
{
    if (g_current == this)
        g_current = nullptr;
}

FontCache *FontCache::current()
{
    return g_current;
}

int FontCache::getFont(const QString &face, int pointSize, int style)
{
    const bool bold = style == Bold || style == BoldItalic;
    const bool italic = style == Italic || style == BoldItalic;
    const QFont::Weight weight = bold ? QFont::Bold : QFont::Normal;
    const int height = pixelHeight(pointSize);

    for (std::size_t i = 0; i < m_fonts.size(); ++i) {
        const QFont &font = m_fonts[i];
        if (font.family() == face && font.pixelSize() == height && font.italic() == italic
            && font.weight() == weight)
            return static_cast<int>(i);
    }

    // The face as asked; where the system lacks it, Qt's fallback picks the nearest family.
    QFont font(face);
    font.setPixelSize(height);
    font.setWeight(weight);
    font.setItalic(italic);
    m_fonts.push_back(font);
    return count() - 1;
}

const QFont *FontCache::getFontAt(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return &m_fonts[static_cast<std::size_t>(index)];
}
