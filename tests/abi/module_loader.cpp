// Loads the module as a host would, uses it briefly and unloads it: one "run" of the client.
//   module_loader <library> [--show-account | --show-options] [--no-release] [--no-unload]
// A host may leave the module without releasing the setup manager, and may exit without
// unloading it: --no-release and --no-unload do that.
#include <ostrel/setup_manager.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

namespace {

bool hasOption(int argc, char **argv, const char *option)
{
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    void *module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    auto get = reinterpret_cast<ISetupManager *(*)()>(dlsym(module, kGetSetupManagerSymbol));
    auto release = reinterpret_cast<void (*)()>(dlsym(module, kReleaseSetupManagerSymbol));
    if (!get || !release)
        return 1;
    ISetupManager *manager = get();
    if (!manager || manager->GetVersion() != kSetupManagerVersion)
        return 1;
    // Without a registered provider the module reports the missing data, which reads the
    // installation's language file.
    if (hasOption(argc, argv, "--show-account"))
        manager->ShowAccountManager();
    if (hasOption(argc, argv, "--show-options"))
        manager->ShowOptionSheet();
    if (!hasOption(argc, argv, "--no-release"))
        release();
    if (!hasOption(argc, argv, "--no-unload"))
        dlclose(module);
    return 0;
}
