// What every benchmark program shares: the clock, the event loop's turn, robust statistics, and
// a main that sets the process up as a host would (offscreen, with the module's process-wide
// objects) and pays the one-time costs before any ratio is measured.
#pragma once

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <vector>

namespace benchsupport {

template <typename Work>
double seconds(Work &&work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Lets the widgets lay out and paint what a change asked for.
inline void settle()
{
    QCoreApplication::processEvents();
}

// Medians, since on a shared machine a few iterations of either side are stretched by other
// processes.
double median(std::vector<double> times);
double mean(const std::vector<double> &times);

// Runs the program's benchmarks in a QApplication on the offscreen platform, with the working
// directory at installDir (the dialogs read its texts) when it exists, after warmUp has paid the
// one-time costs of fonts, styles and image plug-ins. The offscreen platform warns about window
// features it lacks on every dialog shown; those warnings are dropped, since a real platform has
// the features and the warnings would weigh on one side of a ratio only.
int runBenchmarks(int argc, char **argv, const char *installDir,
                  const std::function<void()> &warmUp = {});

} // namespace benchsupport
