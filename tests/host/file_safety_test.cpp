// Every kind of provider when things go wrong: a corrupt or missing file is reported with its
// path and reason, leaves the provider empty and the file untouched; a process killed while it
// saves leaves the old or the new file, whole; a working copy shares no block with its provider.
#include "host_test_support.h"

#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace hosttest;

namespace {

// One kind of provider: how to make it, filled with a data set of some size and variant (0 or
// 1); size 0 gives an empty provider. Size 1 takes long enough to save that kills land inside.
struct Kind
{
    const char *name;
    std::shared_ptr<IDataProvider> (*make)(std::shared_ptr<Diagnostics>, const QString &folder,
                                           int size, int variant);
};

void PrintTo(const Kind &kind, std::ostream *out)
{
    *out << kind.name;
}

const char *const kTags[] = {"-a", "-b"};

const Kind kKinds[] = {
    {"account",
     [](auto diagnostics, const QString &, int size, int variant) {
         auto provider = std::make_shared<FileAccountProvider>(diagnostics);
         for (int i = 0; i < size * 1000; ++i) {
             const std::string id = "user" + std::to_string(i) + kTags[variant];
             addUser(*provider, id.c_str(), "A user with a reasonably long name", "and more");
             if (i % 10 == 0)
                 addGroup(*provider, ("group" + id).c_str(), {"u:user1", "g:group0", "u:user3"});
         }
         return std::shared_ptr<IDataProvider>(provider);
     }},
    {"authority",
     [](auto diagnostics, const QString &folder, int size, int variant) {
         auto provider = std::make_shared<FileAuthorityProvider>(diagnostics);
         const QString source = QDir(folder).filePath(QStringLiteral("authority-source.xml"));
         writeBytes(source, authorityXml(size * 10, 20, 20, kTags[variant]));
         EXPECT_TRUE(provider->loadFile(utf8(source).c_str()));
         QFile::remove(source);
         return std::shared_ptr<IDataProvider>(provider);
     }},
    {"serverinfo",
     [](auto diagnostics, const QString &, int size, int variant) {
         auto provider = std::make_shared<FileServerListProvider>(diagnostics);
         for (int i = 0; i < size * 100; ++i)
             addRecorder(*provider, "Recorder " + std::to_string(i) + kTags[variant], 1, 5, 16);
         return std::shared_ptr<IDataProvider>(provider);
     }},
    {"option",
     [](auto diagnostics, const QString &, int size, int variant) {
         auto provider = std::make_shared<FileOptionProvider>(diagnostics);
         OptionRecord *options = nullptr;
         provider->getOptions(&options);
         if (size)
             *options = {"ko", 1, static_cast<std::int16_t>(20 + variant), 1, 99};
         return std::shared_ptr<IDataProvider>(provider);
     }},
    {"template",
     [](auto diagnostics, const QString &, int size, int variant) {
         auto provider = std::make_shared<FileTemplateProvider>(diagnostics);
         for (int t = 0; t < size * 20; ++t)
             provider->setTemplate("template" + std::to_string(t), makeTemplate(kTags[variant]));
         return std::shared_ptr<IDataProvider>(provider);
     }},
    {"remotesetup",
     [](auto diagnostics, const QString &, int size, int variant) {
         auto provider = std::make_shared<FileRemoteSetupProvider>(nullptr, diagnostics);
         for (int i = 1; i <= size * 1000; ++i)
             provider->setSettings(
                 i, {0, static_cast<std::uint16_t>(100 + variant), i % 2 == 0, true, i % 5});
         return std::shared_ptr<IDataProvider>(provider);
     }},
};

// The log lines written while a test runs.
QStringList g_log;
void captureLog(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_log.append(message);
}

class EveryKind : public ::testing::TestWithParam<Kind>
{
protected:
    std::shared_ptr<IDataProvider> make(int size, int variant) const
    {
        return GetParam().make(m_diagnostics, m_dir.path(), size, variant);
    }

    // Loads a file that must fail: the provider had data, is empty afterwards, the file is
    // unchanged, and the one problem reported and logged names the file and the reason.
    void expectRefused(const QString &file, const char *reason)
    {
        SCOPED_TRACE(reason);
        auto provider = make(1, 0);
        const QByteArray before = readBytes(file);
        m_diagnostics->clearProblems();
        g_log.clear();
        const QtMessageHandler previous = qInstallMessageHandler(captureLog);
        EXPECT_FALSE(provider->loadFile(utf8(file).c_str()));
        qInstallMessageHandler(previous);
        EXPECT_EQ(savedBytes(*provider, m_dir.path()),
                  savedBytes(*GetParam().make(nullptr, m_dir.path(), 0, 0), m_dir.path()));
        EXPECT_EQ(readBytes(file), before);
        ASSERT_EQ(m_diagnostics->problems().size(), 1);
        const FileProblem &problem = m_diagnostics->problems().at(0);
        EXPECT_EQ(problem.operation, FileOperation::Load);
        EXPECT_EQ(problem.path, file);
        EXPECT_TRUE(problem.reason.contains(QLatin1String(reason))) << utf8(problem.reason);
        ASSERT_EQ(g_log.size(), 1);
        EXPECT_TRUE(g_log.at(0).contains(file)) << utf8(g_log.at(0));
    }

    QTemporaryDir m_dir;
    std::shared_ptr<Diagnostics> m_diagnostics = std::make_shared<Diagnostics>();
};

TEST_P(EveryKind, BadFilesAreReportedAndLeftAsTheyWere)
{
    const QString file = m_dir.filePath(QStringLiteral("data.xml"));
    ASSERT_TRUE(make(1, 0)->saveFile(utf8(file).c_str()));
    const QByteArray whole = readBytes(file);
    QByteArray future = whole;
    future.replace("version=\"1\">", "version=\"2\">");
    const std::pair<QByteArray, const char *> corrupt[] = {
        {whole.left(whole.size() * 3 / 5), "line "}, // cut off, as by a full disk
        {"", "No document element"},
        {"<?xml version=\"1.0\"?>\n<something version=\"1\"/>", "root element is <something>"},
        {future, "line 2, column 1: this format version is not supported"},
    };
    for (const auto &[bytes, reason] : corrupt) {
        writeBytes(file, bytes);
        expectRefused(file, reason);
    }
    ASSERT_TRUE(QFile::remove(file));
    expectRefused(file, "does not exist");
    EXPECT_FALSE(QFile::exists(file));

    const QString nowhere = m_dir.filePath(QStringLiteral("no-such-folder/data.xml"));
    m_diagnostics->clearProblems();
    EXPECT_FALSE(make(0, 0)->saveFile(utf8(nowhere).c_str()));
    ASSERT_EQ(m_diagnostics->problems().size(), 1);
    EXPECT_EQ(m_diagnostics->problems().at(0).operation, FileOperation::Save);
    EXPECT_EQ(m_diagnostics->problems().at(0).path, nowhere);
}

// A working copy holds all its provider holds, in blocks of its own: clearing and releasing it
// leaves the provider whole (ASan sees a shared block), and the provider itself is not released.
TEST_P(EveryKind, WorkingCopyIsWholeAndIndependent)
{
    auto provider = make(1, 0);
    const QByteArray before = savedBytes(*provider, m_dir.path());
    IDataProvider *copy = nullptr;
    ASSERT_TRUE(provider->createWorkingCopy(&copy));
    EXPECT_EQ(copy->getKind(), provider->getKind());
    EXPECT_EQ(savedBytes(*copy, m_dir.path()), before);
    copy->clear();
    copy->release(1);
    provider->release(1); // the application's own: refused, or the shared_ptr frees it twice
    EXPECT_EQ(savedBytes(*provider, m_dir.path()), before);
}

// The files hold passwords in clear text: a save leaves them readable by their owner only, a new
// file as well as one that was readable by everyone before.
TEST_P(EveryKind, SavedFilesAreForTheOwnerOnly)
{
    const std::string fresh = utf8(m_dir.filePath(QStringLiteral("fresh.xml")));
    const std::string existing = utf8(m_dir.filePath(QStringLiteral("existing.xml")));
    writeBytes(QString::fromStdString(existing), "old");
    ASSERT_EQ(chmod(existing.c_str(), 0644), 0);
    auto provider = make(0, 0);
    const mode_t previousMask = umask(022);
    const bool saved = provider->saveFile(fresh.c_str()) && provider->saveFile(existing.c_str());
    umask(previousMask);
    ASSERT_TRUE(saved);
    for (const std::string &path : {fresh, existing}) {
        struct stat status = {};
        ASSERT_EQ(stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0600u) << path << ": " << std::oct << status.st_mode;
    }
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
// SIGKILL after a while; the file must then be one of the two, whole, and load. The child reports
// the start and end of every save on a pipe, so we can tell whether a kill fell inside one. The
// last round kills the child as soon as the file changes at all, which is where a writer that is
// not atomic leaves a truncated file.
TEST_P(EveryKind, KillDuringSaveLeavesOldOrNewFile)
{
    const QString file = m_dir.filePath(QStringLiteral("data.xml"));
    const std::string target = utf8(file);
    auto first = make(1, 0);
    auto second = make(1, 1);
    const QByteArray firstBytes = savedBytes(*first, m_dir.path());
    const QByteArray secondBytes = savedBytes(*second, m_dir.path());
    ASSERT_NE(firstBytes, secondBytes);
    ASSERT_TRUE(first->saveFile(target.c_str()));

    int killsInsideSave = 0;
    constexpr int kAtFirstChange = -1;
    for (const int delayMs : {0, 3, 11, 29, kAtFirstChange}) {
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
            << "killed after " << delayMs << " ms (-1: at the first change): " << found.size()
            << " bytes";
        auto reader = make(0, 0);
        EXPECT_TRUE(reader->loadFile(target.c_str()));
        EXPECT_EQ(savedBytes(*reader, m_dir.path()), found);
    }
    EXPECT_GT(killsInsideSave, 0) << "no kill fell inside a save";
}

INSTANTIATE_TEST_SUITE_P(Providers, EveryKind, ::testing::ValuesIn(kKinds),
                         [](const auto &info) { return std::string(info.param.name); });

// Values that the file holds but the records cannot are refused with their place in the file.
TEST(FileContent, ValuesThatDoNotFitTheRecordsAreReportedWithTheirLine)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("serverinfo.xml"));
    const std::pair<QByteArray, const char *> cases[] = {
        {"<recorders version=\"1\">\n  <recorder id=\"1\" name=\"A\">\n"
         "    <connection port=\"70000\"/>\n  </recorder>\n</recorders>\n",
         "line 3, column 5: attribute port of <connection> is \"70000\", expected a whole number "
         "from 0 to 65535"},
        {"<recorders><recorder id=\"4\"/><recorder id=\"4\"/></recorders>", "id 4 is used twice"},
        {"<recorders><recorder firmware=\"2.1.256.0\"/></recorders>", "expected four numbers"},
    };
    for (const auto &[bytes, reason] : cases) {
        writeBytes(file, bytes);
        auto diagnostics = std::make_shared<Diagnostics>();
        EXPECT_FALSE(FileServerListProvider(diagnostics).loadFile(utf8(file).c_str()));
        ASSERT_EQ(diagnostics->problems().size(), 1);
        EXPECT_TRUE(diagnostics->problems().at(0).reason.contains(QLatin1String(reason)))
            << utf8(diagnostics->problems().at(0).reason);
    }
}

} // namespace
