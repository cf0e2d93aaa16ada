#include "bench_support.h"

#include "common/language.h"
#include "controls/font_cache.h"
#include "controls/theme_library.h"

#include <QApplication>
#include <QDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <numeric>

namespace benchsupport {

namespace {

QtMessageHandler g_previousHandler = nullptr;

void dropPlatformWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("This plugin does not support")))
        return;
    g_previousHandler(type, context, text);
}

} // namespace

double median(std::vector<double> times)
{
    if (times.empty())
        return 0;
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

double mean(const std::vector<double> &times)
{
    return times.empty() ? 0
                         : std::accumulate(times.begin(), times.end(), 0.0) / double(times.size());
}

int runBenchmarks(int argc, char **argv, const char *installDir,
                  const std::function<void()> &warmUp)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_previousHandler = qInstallMessageHandler(dropPlatformWarnings);
    QApplication app(argc, argv);
    // As the module makes them when it loads.
    FontCache fonts;
    ThemeLibrary themes;
    if (installDir && QDir(QString::fromUtf8(installDir)).exists())
        QDir::setCurrent(QString::fromUtf8(installDir));
    if (warmUp) {
        warmUp();
        settle();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Common::releaseLanguage();
    return 0;
}

} // namespace benchsupport
