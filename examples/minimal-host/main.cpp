// The smallest complete host of the setup manager: it loads the module, registers in-memory
// providers with a few sample records and opens each dialog in turn. Run it in an installation
// folder (a copy of /usr/share/ostrel/installation): the module reads its texts and paths there.
//   minimal-host [--auto-close MS]
#include "memory_providers.h"

#include <ostrel/setup_manager.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Receives the module's "Save" after the option sheet stored the options.
struct SaveListener final : INotificationTarget
{
    void notify(const char *name, NotifyMessage *message) override
    {
        // The message and its arguments stay the module's: read them, keep nothing.
        std::printf("notified %s (%u)\n", name, message->id);
    }
};

void fillSamples(AccountProvider &accounts, AuthorityProvider &authority,
                 ServerListProvider &servers, OptionProvider &options, TemplateProvider &templates)
{
    // Records are plain structs; text fields are fixed-size and end with a zero byte.
    *accounts.data.users.emplace_back() = {"admin", "", {}, 1, "Administrator", ""};
    *accounts.data.users.emplace_back() = {"dpark", "", {}, 2, "Dana Park", ""};
    GroupRecord *operators = accounts.data.groups.emplace_back().get();
    *operators = {1, "operators", "Shift operators", {}};
    // Members are malloc blocks: the module frees and replaces them when the user edits them.
    *appendBlock(operators->members) = {MemberUser, "dpark"};

    *authority.data.categories.emplace_back() = {1, "video", "Video"};
    *authority.data.items.emplace_back().emplace_back() = {1, "export", "Export video", "", {}};

    ServerRecord *lobby = servers.data[std::size_t(servers.createServer("Lobby"))].get();
    copyField(lobby->address, "192.0.2.10");
    lobby->port = 8000;

    options.data = {"en", 0, 10, 5, 60}; // language, alarm service: auto-connect, polling bounds

    // The module fills in the values of the "dvr" category's items from the recorder.
    InfoCategory *recorder = appendBlock(templates.data->categories);
    *recorder = {"dvr", "Recorder", 1, {}};
    *appendBlock(recorder->items) = {"name", "Name", "", {}, {}, 0};
    *appendBlock(recorder->items) = {"url", "Address", "", {}, {}, 0};
    *appendBlock(recorder->items) = {"port", "Port", "", {}, {}, 0};
}

// Presses OK in every modal dialog MS after it appears and says which dialog it was, so that a
// test can run the host without a user.
void autoClose(int ms)
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            std::printf("closed %s with OK\n", dialog->metaObject()->className());
            dialog->accept();
        }
    });
    timer->start(ms);
}

} // namespace

int main(int argc, char **argv)
{
    // The module's dialogs are Qt widgets: the application exists before the module is used.
    QApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--auto-close") == 0)
        autoClose(std::atoi(argv[2]));

    // The providers are the host's: they outlive every call that uses them.
    AccountProvider accounts;
    AuthorityProvider authority;
    ServerListProvider servers;
    OptionProvider options;
    TemplateProvider templates;
    SaveListener listener;
    options.notificationTarget = &listener;
    fillSamples(accounts, authority, servers, options, templates);

    // The module finds its installation in the working directory, each time it needs a file.
    void *module = dlopen(OSTREL_MODULE, RTLD_NOW | RTLD_LOCAL);
    auto get = reinterpret_cast<ISetupManager *(*)()>(module ? dlsym(module, kGetSetupManagerSymbol)
                                                             : nullptr);
    auto release = reinterpret_cast<void (*)()>(module ? dlsym(module, kReleaseSetupManagerSymbol)
                                                       : nullptr);
    ISetupManager *manager = get && release ? get() : nullptr;
    if (!manager) {
        std::fprintf(stderr, "%s: %s\n", OSTREL_MODULE, module ? "no setup manager" : dlerror());
        return 1;
    }

    for (IDataProvider *provider : std::initializer_list<IDataProvider *> {
             &accounts, &authority, &servers, &options, &templates})
        manager->RegisterProvider(provider);

    // The account, authority and option dialogs reload their provider after a store.
    manager->ShowAccountManager();
    manager->ShowAuthorityManager();
    // The recorder manager stores its copy but leaves the reload to the host.
    if (manager->ShowServerManager() && !servers.reload())
        std::fprintf(stderr, "the recorder list could not be reloaded\n");
    if (manager->ShowOptionSheet() == kDialogOk)
        std::printf("options stored, language %.8s\n", options.data.language);

    release(); // before the providers go: the module holds pointers to them until then
    dlclose(module);
    return 0;
}
