// The process-wide list of fonts that the module's controls share by index. Fonts are made on
// demand and only ever appended, so an index stays valid for the cache's whole life.
#pragma once

#include <QFont>
#include <QString>

#include <deque>

class FontCache
{
public:
    enum Style { Normal = 0, Bold = 1, Italic = 2, BoldItalic = 3 };

    // The first cache made in the process becomes the current one, until it is destroyed.
    FontCache();
    ~FontCache();
    FontCache(const FontCache &) = delete;
    FontCache &operator=(const FontCache &) = delete;

    static FontCache *current();

    // The index of the font with that face, size in points and style, appended when the cache
    // has none yet. Fonts are told apart by face (exactly), pixel height on the desktop, weight
    // and slant, so two sizes that come out at the same height share a font.
    int getFont(const QString &face, int pointSize, int style);
    // The font at the index; null out of range.
    const QFont *getFontAt(int index) const;
    int count() const { return static_cast<int>(m_fonts.size()); }

private:
    std::deque<QFont> m_fonts; // a deque keeps the fonts in place as it grows
};
