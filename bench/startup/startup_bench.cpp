// The cold start a user feels: each run is a fresh process that loads the module, registers the
// reference host's providers and shows the account manager until its first paint, against a bare
// Qt program that shows the same tree and texts. The two alternate, several times in the same run,
// and the medians are compared: time from process start to first paint, and the growth of
// resident memory from the application object to the first paint.
//   startup_bench [--runs N] [--profile]
// --profile also runs the module's start once under callgrind and reports which share of its
// instructions went to loading the module, parsing the language files, loading images and
// filling the tree.
#include "support/bench_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <map>

namespace {

struct Run
{
    double wallMs = 0;  // process start to the "painted" line
    double paintMs = 0; // main() to first paint, as the program measured it
    double growthKb = 0;
    std::map<QString, double> phases;
};

bool copyInstallation(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target))
            return false;
    }
    return true;
}

QProcessEnvironment offscreen()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

bool runOnce(const QString &program, const QStringList &arguments, Run *run)
{
    QProcess process;
    process.setProcessEnvironment(offscreen());
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    QByteArray line;
    while (!line.startsWith("painted") && process.waitForReadyRead(30000))
        line = process.readLine();
    run->wallMs = clock.nsecsElapsed() / 1e6;
    process.waitForFinished(30000);
    if (!line.startsWith("painted"))
        return false;
    const QList<QByteArray> fields = line.trimmed().split(' ');
    run->paintMs = fields.value(1).toDouble();
    run->growthKb = fields.value(2).toDouble();
    for (qsizetype i = 3; i < fields.size(); ++i) {
        const QList<QByteArray> pair = fields[i].split('=');
        run->phases[QString::fromLatin1(pair.value(0))] = pair.value(1).toDouble();
    }
    return true;
}

double medianOf(const std::vector<Run> &runs, double Run::*field)
{
    std::vector<double> values;
    for (const Run &run : runs)
        values.push_back(run.*field);
    return benchsupport::median(values);
}

double medianPhase(const std::vector<Run> &runs, const QString &phase)
{
    std::vector<double> values;
    for (const Run &run : runs)
        values.push_back(run.phases.count(phase) ? run.phases.at(phase) : 0.0);
    return benchsupport::median(values);
}

// Inclusive instruction counts of the functions that make up the module's part of the start.
void profile(const QString &program, const QStringList &arguments)
{
    const QString valgrind = QStandardPaths::findExecutable(QStringLiteral("valgrind"));
    if (valgrind.isEmpty()) {
        std::printf("profile: valgrind not found\n");
        return;
    }
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("callgrind.out"));
    QProcess run;
    run.setProcessEnvironment(offscreen());
    run.start(valgrind,
              QStringList {QStringLiteral("--tool=callgrind"), QStringLiteral("-q"),
                           QStringLiteral("--callgrind-out-file=") + out, program}
                  + arguments);
    run.waitForFinished(600000);
    QProcess annotate;
    annotate.start(QStringLiteral("callgrind_annotate"),
                   {QStringLiteral("--inclusive=yes"), QStringLiteral("--threshold=100"), out});
    annotate.waitForFinished(120000);
    const QString text = QString::fromLocal8Bit(annotate.readAllStandardOutput());
    const auto countOf = [&text](const QString &pattern) {
        const QRegularExpression line(QStringLiteral("^\\s*([\\d,]+)\\s.*") + pattern,
                                      QRegularExpression::MultilineOption);
        const QRegularExpressionMatch match = line.match(text);
        return match.hasMatch() ? match.captured(1).remove(u',').toDouble() : 0.0;
    };
    const double total = countOf(QStringLiteral("PROGRAM TOTALS"));
    if (total <= 0) {
        std::printf("profile: no callgrind totals\n");
        return;
    }
    // Inclusive counts: a row includes what it calls, so rows may overlap.
    const std::pair<const char *, QString> parts[] = {
        {"loading (dlopen)", QStringLiteral("\\bdlopen\\b")},
        {"ShowAccountManager", QStringLiteral("ShowAccountManager\\(")},
        {"  font database (Qt)", QStringLiteral("QFontDatabasePrivate::ensureFontDatabase\\(")},
        {"  language: shared file", QStringLiteral("Common::loadLanguage\\(")},
        {"  language: dialog file", QStringLiteral("CStringTable::CStringTable\\(")},
        {"  images: banner", QStringLiteral("setupmgr::makeBanner\\(")},
        {"  images: image lists", QStringLiteral("setupmgr::loadImageList\\(")},
        {"  tree fill", QStringLiteral("CAccountTreeCtrl::Fill\\(")},
    };
    std::printf("profile: %.0f instructions in the module's cold start (inclusive shares)\n",
                total);
    for (const auto &[name, pattern] : parts)
        std::printf("  %-24s %5.1f%%\n", name, 100.0 * countOf(pattern) / total);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const qsizetype runsAt = arguments.indexOf(QStringLiteral("--runs"));
    const int runs = runsAt > 0 ? arguments.value(runsAt + 1).toInt() : 9;
    const QString bin = QCoreApplication::applicationDirPath();
    QTemporaryDir install;
    if (!copyInstallation(QStringLiteral(OSTREL_INSTALL_DIR), install.path())) {
        std::fprintf(stderr, "cannot copy the installation\n");
        return 1;
    }
    const QString bare = bin + QStringLiteral("/cold_start_bare");
    const QString module = bin + QStringLiteral("/cold_start_module");
    const QStringList moduleArguments = {install.path(), QStringLiteral(OSTREL_MODULE)};

    std::vector<Run> bareRuns;
    std::vector<Run> moduleRuns;
    for (int i = 0; i < runs; ++i) {
        Run b;
        Run m;
        if (!runOnce(bare, {install.path()}, &b) || !runOnce(module, moduleArguments, &m)) {
            std::fprintf(stderr, "a cold start did not reach its first paint\n");
            return 1;
        }
        bareRuns.push_back(b);
        moduleRuns.push_back(m);
    }
    const double bareWall = medianOf(bareRuns, &Run::wallMs);
    const double moduleWall = medianOf(moduleRuns, &Run::wallMs);
    const double bareGrowth = medianOf(bareRuns, &Run::growthKb);
    const double moduleGrowth = medianOf(moduleRuns, &Run::growthKb);
    const double load = medianPhase(moduleRuns, QStringLiteral("load"));
    const double registered = medianPhase(moduleRuns, QStringLiteral("register"));
    const double paint = medianOf(moduleRuns, &Run::paintMs);
    std::printf("cold start to first paint, median of %d runs each\n", runs);
    std::printf("  bare Qt   %8.1f ms (%.1f in main)  resident growth %7.0f KiB\n", bareWall,
                medianOf(bareRuns, &Run::paintMs), bareGrowth);
    std::printf("  module    %8.1f ms (%.1f in main)  resident growth %7.0f KiB\n", moduleWall,
                medianOf(moduleRuns, &Run::paintMs), moduleGrowth);
    std::printf("  ratio     %8.2f     memory ratio    %7.2f   (goals: at most 1.5)\n",
                moduleWall / bareWall, moduleGrowth / bareGrowth);
    std::printf("  module's start inside main: load %.1f ms, host files and registration %.1f "
                "ms, account manager to first paint %.1f ms\n",
                load, registered, paint - load - registered);
    if (arguments.contains(QStringLiteral("--profile")))
        profile(module, moduleArguments);
    return 0;
}
