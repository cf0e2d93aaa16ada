// Every kind of provider when things go wrong: a file that is missing or not of its kind is
// reported with its path and reason, leaves the provider empty and the file untouched; a damaged
// file is kept aside before it is first replaced; a process killed while it saves leaves the old
// or the new file, whole; a working copy shares no block with its provider.
#include "host_test_support.h"

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <set>
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
// Cleared, a provider holds what a new one holds.
TEST_P(EveryKind, WorkingCopyIsWholeAndIndependent)
{
    auto provider = make(1, 0);
    const QByteArray before = savedBytes(*provider, m_dir.path());
    IDataProvider *copy = nullptr;
    ASSERT_TRUE(provider->createWorkingCopy(&copy));
    EXPECT_EQ(copy->getKind(), provider->getKind());
    EXPECT_EQ(savedBytes(*copy, m_dir.path()), before);
    copy->clear();
    EXPECT_EQ(savedBytes(*copy, m_dir.path()), savedBytes(*make(0, 0), m_dir.path()));
    copy->release(1);
    provider->release(1); // the application's own: refused, or the shared_ptr frees it twice
    EXPECT_EQ(savedBytes(*provider, m_dir.path()), before);
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
                // A fresh provider each round: one that read the file would rightly refuse to
                // store over the other's content, and this test is about the kill.
                auto data = make(1, round % 2 ? 0 : 1);
                if (write(channel[1], "S", 1) != 1 || !data->saveFile(target.c_str())
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

// The files beside path that keep a damaged file: "<name>.damaged-<date>-<time>".
QStringList keptAside(const QString &path)
{
    const QFileInfo info(path);
    return QDir(info.path())
        .entryList({info.fileName() + QStringLiteral(".damaged-*")}, QDir::Files);
}

// A stray "<" at the start of the line after the middle of the file.
QByteArray withStrayBracket(QByteArray bytes)
{
    const qsizetype lineStart = bytes.indexOf('\n', bytes.size() / 2) + 1;
    return bytes.insert(lineStart, "<");
}

// The files hold passwords in clear text: a save leaves them readable by their owner only, a new
// file as well as one that was readable by everyone before. Every save keeps the file it replaces
// as "<name>~", owner-only like the file. A store of a dialog, as the module does it, over a file
// that its provider could not load replaces the file, and keeps the damaged file aside first,
// once, and says so.
TEST_P(EveryKind, StoresAreForTheOwnerOnlyAndKeepThePreviousAndADamagedFile)
{
    const QString file = m_dir.filePath(QStringLiteral("data.xml"));
    const std::string path = utf8(file);
    const auto mode = [](const std::string &of) {
        struct stat status = {};
        return stat(of.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
    };
    const mode_t previousMask = umask(022);
    const bool savedFirst = make(1, 0)->saveFile(path.c_str());
    umask(previousMask);
    ASSERT_TRUE(savedFirst);
    EXPECT_FALSE(QFile::exists(file + u'~'));
    EXPECT_EQ(mode(path), 0600u);
    const QByteArray damaged = withStrayBracket(readBytes(file));
    writeBytes(file, damaged);
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);

    auto live = make(0, 0);
    m_diagnostics->clearProblems();
    EXPECT_FALSE(live->loadFile(path.c_str()));
    IDataProvider *copy = nullptr;
    ASSERT_TRUE(live->createWorkingCopy(&copy));
    EXPECT_TRUE(copy->saveFile(path.c_str()));
    copy->release(1);
    live->clear();
    EXPECT_TRUE(live->loadFile(path.c_str()));

    const QStringList aside = keptAside(file);
    ASSERT_EQ(aside.size(), 1) << utf8(aside.join(u' '));
    EXPECT_EQ(readBytes(m_dir.filePath(aside.at(0))), damaged);
    EXPECT_EQ(readBytes(file + u'~'), damaged);
    EXPECT_EQ(mode(path), 0600u);
    EXPECT_EQ(mode(path + "~"), 0600u);
    const auto setAside
        = std::count_if(m_diagnostics->problems().begin(), m_diagnostics->problems().end(),
                        [&](const FileProblem &problem) {
                            return problem.operation == FileOperation::SetAside
                                && problem.path == file && problem.message().contains(aside.at(0));
                        });
    EXPECT_EQ(setAside, 1);

    // The next store replaces a file that loaded: nothing more is kept aside, and the previous
    // generation stays as "~".
    const QByteArray firstStore = readBytes(file);
    ASSERT_TRUE(live->createWorkingCopy(&copy));
    EXPECT_TRUE(copy->saveFile(path.c_str()));
    copy->release(1);
    EXPECT_EQ(keptAside(file).size(), 1);
    EXPECT_EQ(readBytes(file + u'~'), firstStore);
}

INSTANTIATE_TEST_SUITE_P(Providers, EveryKind, ::testing::ValuesIn(kKinds),
                         [](const auto &info) { return std::string(info.param.name); });

// A record that does not fit is left out and reported with its line; the rest of the file is
// loaded as if that record were not there. So is everything before the point where a file breaks
// off. Each case is a damaged file and the same file without the damaged part.
struct PartlyReadable
{
    const char *kind;
    const char *damaged;
    const char *clean;
    const char *reason;
};

const PartlyReadable kPartlyReadable[] = {
    {"serverinfo",
     "<recorders version=\"1\">\n<recorder name=\"A\"/>\n"
     "<recorder name=\"B\"><connection port=\"70000\"/></recorder>\n<recorder name=\"C\"/>\n"
     "</recorders>",
     "<recorders version=\"1\">\n<recorder name=\"A\"/>\n<recorder name=\"C\"/>\n</recorders>",
     "line 3, column 20: attribute port of <connection> is \"70000\", expected a whole number "
     "from 0 to 65535; the <recorder> of line 3 is left out"},
    {"serverinfo",
     "<recorders><recorder name=\"A\"><info tag=\"x\" name=\"Bad\"/><info name=\"Kept\"/>"
     "<camera channel=\"1\"/><camera channel=\"?\"/></recorder></recorders>",
     "<recorders><recorder name=\"A\"><info name=\"Kept\"/><camera channel=\"1\"/></recorder>"
     "</recorders>",
     "attribute tag of <info> is \"x\""},
    {"serverinfo", // cut off, as by a full disk: the recorder it breaks off in is left out
     "<recorders>\n<recorder name=\"A\"><camera/></recorder>\n<recorder name=\"B\"><cam",
     "<recorders>\n<recorder name=\"A\"><camera/></recorder>\n</recorders>", "line 3, column"},
    {"serverinfo", // a stray "<" between two recorders: both are loaded
     "<recorders>\n<recorder name=\"A\"/>\n<recorder name=\"B\"></recorder>\n<\n"
     "<recorder name=\"C\"/>\n</recorders>",
     "<recorders>\n<recorder name=\"A\"/>\n<recorder name=\"B\"/>\n</recorders>",
     "line 4, column 2: Could not determine tag type; the records before that point are loaded"},
    {"serverinfo", // a recorder whose id is taken gets a free one
     "<recorders><recorder id=\"4\"/><recorder id=\"4\" name=\"B\"/></recorders>",
     "<recorders><recorder id=\"4\"/><recorder id=\"5\" name=\"B\"/></recorders>",
     "id 4 is used twice"},
    {"serverinfo", "<recorders><recorder name=\"A\" firmware=\"2.1.256.0\"/></recorders>",
     "<recorders/>", "expected four numbers"},
    {"account",
     "<accounts><user id=\"a\"/><user number=\"one\" id=\"b\"/><user id=\"c\"/>"
     "<group id=\"g\"><member type=\"x\" id=\"m\"/><member type=\"group\" id=\"n\"/></group>"
     "</accounts>",
     "<accounts><user id=\"a\"/><user number=\"1\" id=\"c\"/>"
     "<group id=\"g\"><member type=\"group\" id=\"n\"/></group></accounts>",
     "attribute number of <user> is \"one\""},
    {"authority",
     "<authority><category id=\"c\"><item id=\"a\"/><item number=\"?\" id=\"b\"/>"
     "<item id=\"c\"><member id=\"u\"/></item></category></authority>",
     "<authority><category id=\"c\"><item id=\"a\"/><item number=\"1\" id=\"c\">"
     "<member id=\"u\"/></item></category></authority>",
     "attribute number of <item> is \"?\""},
    {"option",
     "<options><language code=\"de\"/><alarmService pollingTime=\"20\" pollingMax=\"lots\"/>"
     "</options>",
     "<options><language code=\"de\"/></options>", "attribute pollingMax of <alarmService>"},
    {"template",
     "<templates><template name=\"t\"><category name=\"c\"><item name=\"a\"/>"
     "<item name=\"b\" flags=\"1,2\"/></category><category expanded=\"no\"/></template>"
     "<template name=\"t\" title=\"second\"/></templates>",
     "<templates><template name=\"t\"><category name=\"c\"><item name=\"a\"/></category>"
     "</template></templates>",
     "attribute flags of <item> is \"1,2\""},
    {"remotesetup",
     "<remoteSetup><defaults timeout=\"7\"/><recorder id=\"1\" timeout=\"long\"/>"
     "<recorder id=\"2\"/></remoteSetup>",
     "<remoteSetup><defaults timeout=\"7\"/><recorder id=\"2\"/></remoteSetup>",
     "attribute timeout of <recorder> is \"long\""},
};

TEST(FileContent, OneDamagedRecordCostsNoOther)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("data.xml"));
    for (const PartlyReadable &example : kPartlyReadable) {
        SCOPED_TRACE(example.damaged);
        const Kind &kind = *std::find_if(std::begin(kKinds), std::end(kKinds), [&](const Kind &k) {
            return std::strcmp(k.name, example.kind) == 0;
        });
        auto diagnostics = std::make_shared<Diagnostics>();
        auto damaged = kind.make(diagnostics, dir.path(), 0, 0);
        writeBytes(file, example.damaged);
        EXPECT_FALSE(damaged->loadFile(utf8(file).c_str()));
        ASSERT_FALSE(diagnostics->problems().isEmpty());
        EXPECT_TRUE(diagnostics->problems().at(0).reason.contains(QLatin1String(example.reason)))
            << utf8(diagnostics->problems().at(0).message());
        QStringList reasons; // each fault is reported once
        for (const FileProblem &problem : diagnostics->problems())
            reasons.append(problem.reason);
        EXPECT_EQ(reasons.removeDuplicates(), 0) << utf8(reasons.join(u'\n'));

        auto clean = kind.make(nullptr, dir.path(), 0, 0);
        writeBytes(file, example.clean);
        EXPECT_TRUE(clean->loadFile(utf8(file).c_str()));
        EXPECT_EQ(savedBytes(*damaged, dir.path()), savedBytes(*clean, dir.path()));
    }
}

// Two recorders of one name, or two accounts of one id (users and groups share the ids, without
// regard to case), are all kept, and each second one is reported; the file counts as loaded.
TEST(FileContent, NamesUsedTwiceAreKeptAndReported)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("data.xml"));
    auto diagnostics = std::make_shared<Diagnostics>();

    writeBytes(file,
               "<recorders>\n<recorder name=\"Lobby\"><connection port=\"1\"/></recorder>\n"
               "<recorder name=\"Yard\"/>\n"
               "<recorder name=\"Lobby\"><connection port=\"2\"/></recorder>\n</recorders>");
    FileServerListProvider servers(diagnostics);
    EXPECT_TRUE(servers.loadFile(utf8(file).c_str()));
    ASSERT_EQ(servers.getServerCount(), 3);
    ASSERT_EQ(diagnostics->problems().size(), 1);
    EXPECT_EQ(diagnostics->problems().at(0).operation, FileOperation::Content);
    EXPECT_EQ(
        diagnostics->problems().at(0).reason,
        QStringLiteral("line 4, column 1: the name \"Lobby\" is used by another recorder too"));
    EXPECT_TRUE(servers.removeServer("Lobby"));
    ServerRecord *left = nullptr;
    ASSERT_TRUE(servers.findServer("Lobby", &left));
    EXPECT_EQ(left->port, 2);

    diagnostics->clearProblems();
    writeBytes(file,
               "<accounts><user id=\"bob\"/><user id=\"Bob\"/><user id=\"ann\"/>"
               "<group id=\"BOB\"/><group id=\"crew\"/><group id=\"Crew\"/></accounts>");
    FileAccountProvider accounts(diagnostics);
    EXPECT_TRUE(accounts.loadFile(utf8(file).c_str()));
    EXPECT_EQ(accounts.getUserCount(), 3);
    EXPECT_EQ(accounts.getGroupCount(), 3);
    QStringList reported;
    for (const FileProblem &problem : diagnostics->problems())
        reported.append(problem.reason);
    EXPECT_EQ(reported,
              QStringList({QStringLiteral("line 1, column 27: the id \"Bob\" is used by "
                                          "another account too"),
                           QStringLiteral("line 1, column 59: the id \"BOB\" is used by "
                                          "another account too"),
                           QStringLiteral("line 1, column 94: the id \"Crew\" is used "
                                          "by another account too")}));
}

// Numbers and ids at the top of their range: a record added later still gets one of its own.
TEST(FileContent, NewRecordsAfterTheHighestNumberGetAFreeOne)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("data.xml"));
    writeBytes(file,
               "<recorders><recorder id=\"2147483647\" name=\"Top\"/><recorder name=\"Next\"/>"
               "<recorder id=\"5\" name=\"Five\"/></recorders>");
    FileServerListProvider servers;
    EXPECT_TRUE(servers.loadFile(utf8(file).c_str()));
    ASSERT_GE(servers.createServer("New"), 0);
    std::set<std::int32_t> ids;
    for (std::int32_t i = 0; i < servers.getServerCount(); ++i) {
        ServerRecord *server = nullptr;
        ASSERT_TRUE(servers.getServer(i, &server));
        EXPECT_GT(server->hostId, 0);
        ids.insert(server->hostId);
    }
    EXPECT_EQ(ids.size(), 4u);

    writeBytes(file, "<accounts><user number=\"2147483647\" id=\"a\"/></accounts>");
    FileAccountProvider accounts;
    EXPECT_TRUE(accounts.loadFile(utf8(file).c_str()));
    addUser(accounts, "b", "B");
    UserRecord *added = nullptr;
    ASSERT_TRUE(accounts.getUser(1, &added));
    EXPECT_EQ(added->number, 0);
}

} // namespace
