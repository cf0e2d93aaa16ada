// The process-wide access to visual styles. On this platform the style engine is the
// application's QStyle, which is always there; themed drawing is in use when that style is not
// the classic "windows" style. Themed parts are drawn with QStyle primitives, classic ones with
// the palette.
#pragma once

class ThemeLibrary
{
public:
    // The first library made in the process becomes the current one, until it is destroyed.
    ThemeLibrary();
    ~ThemeLibrary();
    ThemeLibrary(const ThemeLibrary &) = delete;
    ThemeLibrary &operator=(const ThemeLibrary &) = delete;

    static ThemeLibrary *current();

    // Visual styles are available: the library was loaded.
    bool IsLoaded() const { return m_loaded; }
    // The application's style is a themed one (not "windows"); false without an application.
    bool IsThemeActive() const;

    // Whether themed drawing is in use: a current library, loaded, with an active theme.
    static bool themed();

private:
    bool m_loaded = true;
};
