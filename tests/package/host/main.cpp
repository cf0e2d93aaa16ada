// Loads the installed module through the path the package gives, gets the setup manager, checks
// its version and releases it.
#include <ostrel/setup_manager.h>

#include <dlfcn.h>

#include <cstdio>

int main()
{
    void *module = dlopen(OSTREL_MODULE, RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        std::fprintf(stderr, "dlopen: %s\n", dlerror());
        return 1;
    }
    auto get = reinterpret_cast<ISetupManager *(*)()>(dlsym(module, kGetSetupManagerSymbol));
    auto release = reinterpret_cast<void (*)()>(dlsym(module, kReleaseSetupManagerSymbol));
    if (!get || !release) {
        std::fprintf(stderr, "%s does not export the setup manager\n", OSTREL_MODULE);
        return 1;
    }
    ISetupManager *manager = get();
    const int version = manager ? manager->GetVersion() : -1;
    release();
    dlclose(module);
    if (version != 5) {
        std::fprintf(stderr, "setup manager version %d, expected 5\n", version);
        return 1;
    }
    std::printf("Loaded %s, setup manager version %d\n", OSTREL_MODULE, version);
    return 0;
}
