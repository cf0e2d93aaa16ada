// The module as a host sees it: loaded with dlopen, bound by its two exported names.
#include <ostrel/data_provider.h>
#include <ostrel/setup_manager.h>

#include <QTemporaryDir>

#include <dlfcn.h>

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

// Answers its kind and counts how often it was asked.
class CountingProvider final : public IDataProvider
{
public:
    explicit CountingProvider(ProviderKind kind)
        : m_kind(kind)
    { }
    bool queryLink(LinkKind, void **out) override
    {
        *out = nullptr;
        return false;
    }
    void release(int) override { }
    ProviderKind getKind() override
    {
        ++kindQueries;
        return m_kind;
    }
    bool loadFile(const char *) override { return false; }
    bool saveFile(const char *) override { return false; }
    void clear() override { }
    bool createWorkingCopy(IDataProvider **out) override
    {
        *out = nullptr;
        return false;
    }
    int kindQueries = 0;

private:
    ProviderKind m_kind;
};

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The module's tick: milliseconds since boot, as 32 bits.
std::uint32_t tickNow()
{
    timespec now {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000
                                      + static_cast<std::uint64_t>(now.tv_nsec) / 1000000);
}

std::string header(std::uint32_t tick)
{
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>((tick >> shift) & 0xFF);
    bytes += "\r\n";
    bytes.append("< Log for DisplayManager >", 27);
    bytes += "\r\n\r\n";
    bytes.append("TickCount   DATE       TIME    ThreadID  Message", 49);
    bytes += "\r\n";
    return bytes;
}

std::uint32_t headerTick(const std::string &content)
{
    if (content.size() < 4)
        return 0;
    const auto byte
        = [&](int i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(content[i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

TEST(ModuleLoadTest, HandsOutOneSetupManagerUntilReleased)
{
    void *module = dlopen(MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto get = reinterpret_cast<ISetupManager *(*)()>(dlsym(module, kGetSetupManagerSymbol));
    auto release = reinterpret_cast<void (*)()>(dlsym(module, kReleaseSetupManagerSymbol));
    ASSERT_NE(get, nullptr);
    ASSERT_NE(release, nullptr);

    ISetupManager *manager = get();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->GetVersion(), 5);
    EXPECT_EQ(get(), manager);
    manager->Reserved();

    CountingProvider before(ProviderKind::Account);
    manager->RegisterProvider(&before);
    EXPECT_FALSE(manager->IsRemoteSetupOpen());
    release();

    // The new object's registry is empty: registering walks it and would ask the old provider.
    ISetupManager *fresh = get();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->GetVersion(), 5);
    const int asked = before.kindQueries;
    CountingProvider after(ProviderKind::Account);
    fresh->RegisterProvider(&after);
    EXPECT_EQ(before.kindQueries, asked);
    EXPECT_EQ(after.kindQueries, 1);
    release();
    release(); // again, with no object: harmless
    EXPECT_EQ(dlclose(module), 0);
}

// Each load rotates the log: after four runs the log and its two back-ups hold the headers of
// the last three, newest first.
TEST(ModuleLoadTest, FourRunsLeaveTheLastThreeHeaders)
{
    const QTemporaryDir scratch;
    const std::string logs = scratch.path().toStdString();
    std::uint32_t started[5];
    for (int run = 0; run < 4; ++run) {
        started[run] = tickNow();
        const std::string command = "OSTREL_LOG_DIR=" + logs + " " LOADER_PATH " " MODULE_PATH;
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    started[4] = tickNow();
    for (int age = 0; age < 3; ++age) {
        const std::string file = readFile(logs + "/Ostrel_SetupMgr.log" + std::string(age, '~'));
        const std::uint32_t tick = headerTick(file);
        EXPECT_EQ(file, header(tick)) << "file of age " << age;
        EXPECT_LE(tick - started[3 - age], started[4 - age] - started[3 - age])
            << "file of age " << age << " is not the header of run " << 4 - age;
    }
}

// An installation whose shared language file fails to parse, in a folder of its own.
class BrokenLanguageInstall
{
public:
    BrokenLanguageInstall()
    {
        fs::create_directories(m_path / "Config");
        fs::create_directories(m_path / "Language" / "en");
        std::ofstream(m_path / "Config" / "Path.ini")
            << "[PATH]\r\nini_ostrel=Config\\ostrel.ini\r\nxml_string=string.xml\r\n";
        std::ofstream(m_path / "Language" / "en" / "string.xml")
            << "<string>\n<setupManager>\n<item "
               "id=\"providerMissing\">x</item>\n</setupManager>\n<oops\n";
    }
    const fs::path &path() const { return m_path; }
    // Runs the loader in the installation with its log there; the loader's exit status.
    int load(const std::string &options) const
    {
        const std::string command = "cd " + path().string() + " && OSTREL_LOG_DIR="
            + path().string() + " " LOADER_PATH " " MODULE_PATH " " + options + " 2>/dev/null";
        return std::system(command.c_str());
    }

private:
    QTemporaryDir m_folder;
    fs::path m_path = m_folder.path().toStdString();
};

// A host may unload the module, or exit, without releasing the setup manager: the module then
// releases it itself, while the language state and the log still exist. Under the address
// sanitizer a use after free ends the loader with a failure status.
TEST(ModuleLoadTest, UnloadsCleanlyWithoutRelease)
{
    const BrokenLanguageInstall install;
    EXPECT_EQ(install.load("--show-options --no-release"), 0);
    EXPECT_EQ(install.load("--show-options --no-release --no-unload"), 0);
}

} // namespace
