// The data of one installation: the six file-backed providers, loaded from the files that the
// installation's Config/Path.ini names, ready to be registered with the setup manager.
#pragma once

#include <ostrelhost/diagnostics.h>
#include <ostrelhost/file_account_provider.h>
#include <ostrelhost/file_authority_provider.h>
#include <ostrelhost/file_option_provider.h>
#include <ostrelhost/file_remote_setup_provider.h>
#include <ostrelhost/file_server_list_provider.h>
#include <ostrelhost/file_template_provider.h>

#include <QString>

#include <array>
#include <memory>

namespace ostrelhost {

enum class DataFile { Account, Authority, ServerList, Option, Template, RemoteSetup };

class ReferenceHost
{
public:
    // Path.ini keys of the data files. The module names the first four; the template and
    // remote-setup files are the host's own and have defaults when Path.ini does not name them.
    static QString pathKey(DataFile file);
    // The file used when Path.ini has no entry, relative to the installation folder.
    static QString defaultPath(DataFile file);

    // Reads Config/Path.ini of the installation folder; a missing file or key is reported and the
    // default path used. Nothing is loaded yet, so the application can connect to the
    // diagnostics first.
    explicit ReferenceHost(const QString &installDir);
    ~ReferenceHost();
    ReferenceHost(const ReferenceHost &) = delete;
    ReferenceHost &operator=(const ReferenceHost &) = delete;

    // Loads every data file; false when any was not read whole. A provider holds what could be
    // read of its file (docs/data-files.md); the problems are reported, and a file that was not
    // read whole is kept under a dated name when a save first replaces it.
    bool loadAll();
    // Clears the provider and loads its file again, e.g. the recorder list after the module's
    // recorder manager was closed with OK.
    bool reload(DataFile file);

    QString installDir() const { return m_installDir; }
    // The absolute path of a data file.
    QString path(DataFile file) const;

    FileAccountProvider &accounts() { return *m_accounts; }
    FileAuthorityProvider &authority() { return *m_authority; }
    FileServerListProvider &serverList() { return *m_serverList; }
    FileRemoteSetupProvider &remoteSetup() { return *m_remoteSetup; }
    FileOptionProvider &options() { return *m_options; }
    FileTemplateProvider &templates() { return *m_templates; }
    IDataProvider &provider(DataFile file);

    // The six providers, for ISetupManager::RegisterProvider; the host keeps them.
    std::array<IDataProvider *, 6> providers();

    Diagnostics &diagnostics() { return *m_diagnostics; }
    // Emits optionsSaved when the module has saved the options.
    NotificationRelay &notifications() { return m_options->notifications(); }

private:
    QString m_installDir;
    std::array<QString, 6> m_paths;
    std::shared_ptr<Diagnostics> m_diagnostics;
    std::unique_ptr<FileAccountProvider> m_accounts;
    std::unique_ptr<FileAuthorityProvider> m_authority;
    std::unique_ptr<FileServerListProvider> m_serverList; // read by m_remoteSetup
    std::unique_ptr<FileRemoteSetupProvider> m_remoteSetup;
    std::unique_ptr<FileOptionProvider> m_options;
    std::unique_ptr<FileTemplateProvider> m_templates;
};

} // namespace ostrelhost
