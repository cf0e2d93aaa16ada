// A remote-setup plug-in built for the tests. It appends every call it receives, and its loading
// and unloading, to the file named by OSTREL_TEST_PLUGIN_LOG, each line led by its family, so
// that the calls can be checked even after the module has unloaded it. Compile definitions
// choose its family, its product type and the one way in which it fails.
#include <ostrel/remote_setup.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <set>

#define SCENARIO_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

__attribute__((format(printf, 1, 2))) void record(const char *format, ...)
{
    const char *path = std::getenv("OSTREL_TEST_PLUGIN_LOG");
    std::FILE *file = path ? std::fopen(path, "a") : nullptr;
    if (!file)
        return;
    std::fprintf(file, "%s ", SCENARIO_FAMILY);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(file, format, arguments);
    va_end(arguments);
    std::fputc('\n', file);
    std::fclose(file);
}

class RecordingSetup final : public IRemoteSetup
{
public:
    std::int32_t getInterfaceVersion() override { return 1; }
    // OSTREL_TEST_REPORTED_TYPE lets a test make an object claim another plug-in's type, or none.
    std::int32_t getProductType() override { return m_type; }
    bool prepare(const ServerIdentity *identity, RemoteSetupParameters *parameters,
                 std::int32_t reserved) override
    {
        record("prepare %p %d %d %d", static_cast<void *>(this), identity->serverId,
               parameters->hostValue, reserved);
        return true;
    }
    void *window() override { return nullptr; }
    bool start() override
    {
        record("start %p", static_cast<void *>(this));
        return true;
    }

private:
    const char *m_reported = std::getenv("OSTREL_TEST_REPORTED_TYPE");
    std::int32_t m_type = m_reported && *m_reported ? std::atoi(m_reported) : SCENARIO_PRODUCT_TYPE;
};

// Objects a host forgot (their type named no loaded plug-in) die with the library, so that the
// leak checker sees only the module's faults.
struct Library
{
    Library() { record("load"); }
    ~Library()
    {
        for (IRemoteSetup *setup : live)
            delete static_cast<RecordingSetup *>(setup);
        record("unload");
    }
    std::set<IRemoteSetup *> live;
} g_library;

} // namespace

SCENARIO_EXPORT IRemoteSetup *CreateSetup(std::int32_t productType)
{
#ifdef SCENARIO_NULL_CREATE
    record("CreateSetup %d null", productType);
    return nullptr;
#else
    IRemoteSetup *setup = *g_library.live.insert(new RecordingSetup).first;
    record("CreateSetup %d %p", productType, static_cast<void *>(setup));
    return setup;
#endif
}

SCENARIO_EXPORT void ReleaseSetup(IRemoteSetup *setup)
{
    record("ReleaseSetup %p", static_cast<void *>(setup));
    if (g_library.live.erase(setup))
        delete static_cast<RecordingSetup *>(setup);
}

#ifndef SCENARIO_NO_SETUP_TERM
SCENARIO_EXPORT void SetupTerm() { }
#endif
