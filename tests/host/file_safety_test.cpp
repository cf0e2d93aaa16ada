// What happens to the data files when things go wrong: a corrupt or missing file is reported
// with its path and reason, leaves the provider empty and the file untouched; a process killed
// while it saves leaves the old or the new file, whole.
#include "host_test_support.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace ostrelhost;
using namespace hosttest;

namespace {

// One kind of provider: how to make it, filled with a data set of some size and variant;
// size 0 gives an empty provider.
struct Kind
{
    const char *name;
    std::function<std::shared_ptr<IDataProvider>(std::shared_ptr<Diagnostics>,
                                                 const QString &folder, int size, int variant)>
        make;
};

void PrintTo(const Kind &kind, std::ostream *out)
{
    *out << kind.name;
}

const char *tag(int variant)
{
    return variant ? "-b" : "-a";
}

const Kind kKinds[] = {
    {"account",
     [](auto diagnostics, const QString &, int size, int variant) {
         auto provider = std::make_shared<FileAccountProvider>(diagnostics);
         fillAccounts(*provider, size * 1000, tag(variant));
         return std::shared_ptr<IDataProvider>(provider);
     }},
    {"authority",
     [](auto diagnostics, const QString &folder, int size, int variant) {
         auto provider = std::make_shared<FileAuthorityProvider>(diagnostics);
         const QString source = QDir(folder).filePath(QStringLiteral("authority-source.xml"));
         writeBytes(source, authorityXml(size * 10, 20, 20, tag(variant)));
         EXPECT_TRUE(provider->loadFile(utf8(source).c_str()));
         QFile::remove(source);
         return std::shared_ptr<IDataProvider>(provider);
     }},
    {"serverinfo",
     [](auto diagnostics, const QString &, int size, int variant) {
         auto provider = std::make_shared<FileServerListProvider>(diagnostics);
         fillServers(*provider, size * 100, tag(variant));
         return std::shared_ptr<IDataProvider>(provider);
     }},
    {"option",
     [](auto diagnostics, const QString &, int size, int variant) {
         auto provider = std::make_shared<FileOptionProvider>(diagnostics);
         if (!size)
             return std::shared_ptr<IDataProvider>(provider);
         OptionRecord *options = nullptr;
         provider->getOptions(&options);
         options->alarmServicePollingTime = static_cast<std::int16_t>(20 + variant);
         copyField(options->language, variant ? "de" : "ko");
         return std::shared_ptr<IDataProvider>(provider);
     }},
    {"template",
     [](auto diagnostics, const QString &, int size, int variant) {
         auto provider = std::make_shared<FileTemplateProvider>(diagnostics);
         fillTemplates(*provider, size * 20, tag(variant));
         return std::shared_ptr<IDataProvider>(provider);
     }},
    {"remotesetup",
     [](auto diagnostics, const QString &, int size, int variant) {
         auto provider = std::make_shared<FileRemoteSetupProvider>(nullptr, diagnostics);
         fillRemoteSetup(*provider, size * 1000, variant);
         return std::shared_ptr<IDataProvider>(provider);
     }},
};

// Collects the log lines written while it lives.
class LogCapture
{
public:
    LogCapture() { m_previous = qInstallMessageHandler(&LogCapture::handle); }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        lines().clear();
    }
    static QStringList &lines()
    {
        static QStringList captured;
        return captured;
    }

private:
    static void handle(QtMsgType, const QMessageLogContext &, const QString &message)
    {
        lines().append(message);
    }
    QtMessageHandler m_previous;
};

class FileSafety : public ::testing::TestWithParam<Kind>
{
protected:
    QString path(const char *name) const
    {
        return QDir(m_dir.path()).filePath(QString::fromUtf8(name));
    }
    std::shared_ptr<IDataProvider> make(int size, int variant) const
    {
        return GetParam().make(m_diagnostics, m_dir.path(), size, variant);
    }
    // What an empty provider of the kind saves.
    QByteArray emptyBytes() const
    {
        return savedBytes(*GetParam().make(nullptr, m_dir.path(), 0, 0), m_dir.path());
    }

    // Loads a file that must fail: the provider had data, is empty afterwards, the file is
    // unchanged and the problem names the file and a reason containing `reason`.
    void expectRefused(const QString &file, const char *reason)
    {
        auto provider = make(1, 0);
        const QByteArray before = readBytes(file);
        m_diagnostics->clearProblems();
        LogCapture log;
        EXPECT_FALSE(provider->loadFile(utf8(file).c_str()));
        EXPECT_EQ(savedBytes(*provider, m_dir.path()), emptyBytes());
        EXPECT_EQ(readBytes(file), before);
        ASSERT_EQ(m_diagnostics->problems().size(), 1);
        const FileProblem &problem = m_diagnostics->problems().at(0);
        EXPECT_EQ(problem.operation, FileOperation::Load);
        EXPECT_EQ(problem.path, file);
        EXPECT_TRUE(problem.reason.contains(QLatin1String(reason))) << utf8(problem.reason);
        ASSERT_EQ(log.lines().size(), 1);
        EXPECT_TRUE(log.lines().at(0).contains(file)) << utf8(log.lines().at(0));
    }

    QTemporaryDir m_dir;
    std::shared_ptr<Diagnostics> m_diagnostics = std::make_shared<Diagnostics>();
};

TEST_P(FileSafety, CorruptFileIsReportedAndLeftAsItWas)
{
    const QString file = path("data.xml");
    ASSERT_TRUE(make(1, 0)->saveFile(utf8(file).c_str()));
    const QByteArray whole = readBytes(file);

    writeBytes(file, whole.left(whole.size() * 3 / 5)); // cut off, as by a full disk
    expectRefused(file, "line ");
    writeBytes(file, "");
    expectRefused(file, "No document element");
    writeBytes(file, "<?xml version=\"1.0\"?>\n<something version=\"1\"/>");
    expectRefused(file, "root element is <something>");
    QByteArray future = whole;
    future.replace("version=\"1\">", "version=\"2\">");
    writeBytes(file, future);
    expectRefused(file, "line 2, column 1: this format version is not supported");
}

TEST_P(FileSafety, MissingFileIsReportedAndNotCreated)
{
    const QString file = path("missing.xml");
    expectRefused(file, "does not exist");
    EXPECT_FALSE(QFile::exists(file));
}

TEST_P(FileSafety, SaveIntoAMissingFolderIsReported)
{
    const QString file = path("no-such-folder/data.xml");
    EXPECT_FALSE(make(0, 0)->saveFile(utf8(file).c_str()));
    ASSERT_EQ(m_diagnostics->problems().size(), 1);
    EXPECT_EQ(m_diagnostics->problems().at(0).operation, FileOperation::Save);
    EXPECT_EQ(m_diagnostics->problems().at(0).path, file);
}

// Waits until the file at path is no longer the one that `before` describes, for at most a second.
void waitForChange(const char *path, const struct stat &before)
{
    const auto stop = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    struct stat now = before;
    while (std::chrono::steady_clock::now() < stop && stat(path, &now) == 0
           && now.st_ino == before.st_ino && now.st_size == before.st_size
           && now.st_mtim.tv_nsec == before.st_mtim.tv_nsec
           && now.st_mtim.tv_sec == before.st_mtim.tv_sec) { }
}

// A child process saves the two data sets over the file again and again and is killed with
// SIGKILL after a while; the file must then be one of the two, whole. The child reports the
// start and end of every save on a pipe, so we can tell whether the kill fell inside one. The
// last round kills the child as soon as the file changes at all, which is where a writer that
// is not atomic leaves a truncated file.
TEST_P(FileSafety, KillDuringSaveLeavesOldOrNewFile)
{
    const QString file = path("data.xml");
    auto first = make(1, 0);
    auto second = make(1, 1);
    const QByteArray firstBytes = savedBytes(*first, m_dir.path());
    const QByteArray secondBytes = savedBytes(*second, m_dir.path());
    ASSERT_NE(firstBytes, secondBytes);
    ASSERT_TRUE(first->saveFile(utf8(file).c_str()));
    const std::string target = utf8(file);

    int killsInsideSave = 0;
    constexpr int kAtFirstChange = -1;
    for (const int delayMs : {0, 3, 7, 13, 29, 41, kAtFirstChange}) {
        struct stat before = {};
        ASSERT_EQ(stat(target.c_str(), &before), 0);
        int channel[2];
        ASSERT_EQ(pipe(channel), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(channel[0]);
            const auto stop = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            for (int round = 0; std::chrono::steady_clock::now() < stop; ++round) {
                IDataProvider &data = round % 2 ? *first : *second;
                if (write(channel[1], "S", 1) != 1 || !data.saveFile(target.c_str())
                    || write(channel[1], "E", 1) != 1)
                    _exit(1);
            }
            _exit(0); // never back into the test runner
        }
        close(channel[1]);
        char mark = 0;
        ASSERT_EQ(read(channel[0], &mark, 1), 1); // the child is saving now
        if (delayMs == kAtFirstChange)
            waitForChange(target.c_str(), before);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status)) << "the child ended before the kill";
        char last = mark;
        while (read(channel[0], &mark, 1) == 1)
            last = mark;
        close(channel[0]);
        killsInsideSave += last == 'S';

        const QByteArray found = readBytes(file);
        EXPECT_TRUE(found == firstBytes || found == secondBytes)
            << GetParam().name << ", killed "
            << (delayMs == kAtFirstChange ? "at the first change"
                                          : std::to_string(delayMs) + " ms in")
            << ": " << found.size() << " bytes";
        auto reader = make(0, 0);
        EXPECT_TRUE(reader->loadFile(target.c_str()));
        EXPECT_EQ(savedBytes(*reader, m_dir.path()), found);
    }
    EXPECT_GT(killsInsideSave, 0) << "no kill fell inside a save";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, FileSafety, ::testing::ValuesIn(kKinds),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(FileContent, ValuesThatDoNotFitTheRecordsAreReportedWithTheirLine)
{
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("serverinfo.xml"));
    writeBytes(file,
               "<recorders version=\"1\">\n  <recorder id=\"1\" name=\"A\">\n"
               "    <connection port=\"70000\"/>\n  </recorder>\n</recorders>\n");
    Diagnostics diagnostics;
    auto shared = std::shared_ptr<Diagnostics>(&diagnostics, [](Diagnostics *) {});
    FileServerListProvider servers(shared);
    EXPECT_FALSE(servers.loadFile(utf8(file).c_str()));
    ASSERT_EQ(diagnostics.problems().size(), 1);
    EXPECT_EQ(diagnostics.problems().at(0).reason,
              QStringLiteral("line 3, column 5: attribute port of <connection> is \"70000\", "
                             "expected a whole number from 0 to 65535"));

    writeBytes(file, "<recorders><recorder id=\"4\"/><recorder id=\"4\"/></recorders>");
    EXPECT_FALSE(servers.loadFile(utf8(file).c_str()));
    EXPECT_TRUE(diagnostics.problems().at(1).reason.contains(QLatin1String("id 4 is used twice")));

    writeBytes(file, "<recorders><recorder firmware=\"2.1.256.0\"/></recorders>");
    EXPECT_FALSE(servers.loadFile(utf8(file).c_str()));
    EXPECT_TRUE(
        diagnostics.problems().at(2).reason.contains(QLatin1String("expected four numbers")));
}

} // namespace
