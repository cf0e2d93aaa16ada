// Loads the module as a host would, uses it briefly and unloads it: one "run" of the client.
//   module_loader <library> [--show-account | --report]
#include <ostrel/setup_manager.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

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
    if (argc > 2 && std::strcmp(argv[2], "--show-account") == 0)
        manager->ShowAccountManager();
    if (argc > 2 && std::strcmp(argv[2], "--report") == 0) {
        std::printf("Loaded %s\n", argv[1]);
        std::printf("  GetSetupManager() -> setup manager %p, version %d\n",
                    static_cast<void *>(manager), manager->GetVersion());
        std::printf("  a second GetSetupManager() returns the %s object\n",
                    get() == manager ? "same" : "another");
        std::printf("  remote setup open: %s\n", manager->IsRemoteSetupOpen() ? "yes" : "no");
    }
    release();
    dlclose(module);
    return 0;
}
