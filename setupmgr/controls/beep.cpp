#include "beep.h"

#include <QApplication>

namespace setupmgr {

namespace {
int g_count = 0;
}

void beep()
{
    ++g_count;
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::beep();
}

int beepCount()
{
    return g_count;
}

} // namespace setupmgr
