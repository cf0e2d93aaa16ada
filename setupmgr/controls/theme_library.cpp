#include "theme_library.h"

#include <QApplication>
#include <QStyle>

namespace {
ThemeLibrary *g_current = nullptr;
}

ThemeLibrary::ThemeLibrary()
{
    if (!g_current)
        g_current = this;
}

ThemeLibrary::~ThemeLibrary()
{
    if (g_current == this)
        g_current = nullptr;
}

ThemeLibrary *ThemeLibrary::current()
{
    return g_current;
}

bool ThemeLibrary::IsThemeActive() const
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return false;
    return QApplication::style()->name().compare(QLatin1String("windows"), Qt::CaseInsensitive)
        != 0;
}

bool ThemeLibrary::themed()
{
    return g_current && g_current->IsLoaded() && g_current->IsThemeActive();
}
