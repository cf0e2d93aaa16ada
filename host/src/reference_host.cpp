#include <ostrelhost/reference_host.h>

#include <ostrelini/ini_file.h>

#include <QDir>

namespace ostrelhost {

namespace {

constexpr std::array kAllFiles {DataFile::Account, DataFile::Authority, DataFile::ServerList,
                                DataFile::Option,  DataFile::Template,  DataFile::RemoteSetup};

std::size_t slot(DataFile file)
{
    return static_cast<std::size_t>(file);
}

bool namedByModule(DataFile file)
{
    return file != DataFile::Template && file != DataFile::RemoteSetup;
}

// The module reads Path.ini values into buffers of this many bytes; the host reads them the same
// way, so that both find the same file.
constexpr int kPathBufferSize = 260;

// A value such as "Data\account.xml" as a path below the installation folder.
QString resolveDataPath(const QString &installDir, QString value)
{
    value.replace(u'\\', u'/');
    return QDir::cleanPath(QDir(installDir).filePath(value));
}

} // namespace

QString ReferenceHost::pathKey(DataFile file)
{
    switch (file) {
    case DataFile::Account:
        return QStringLiteral("xml_account");
    case DataFile::Authority:
        return QStringLiteral("xml_authority");
    case DataFile::ServerList:
        return QStringLiteral("xml_serverinfo");
    case DataFile::Option:
        return QStringLiteral("xml_option");
    case DataFile::Template:
        return QStringLiteral("xml_template");
    case DataFile::RemoteSetup:
        return QStringLiteral("xml_remotesetup");
    }
    return {};
}

QString ReferenceHost::defaultPath(DataFile file)
{
    switch (file) {
    case DataFile::Account:
        return QStringLiteral("Data/account.xml");
    case DataFile::Authority:
        return QStringLiteral("Data/authority.xml");
    case DataFile::ServerList:
        return QStringLiteral("Data/serverinfo.xml");
    case DataFile::Option:
        return QStringLiteral("Data/option.xml");
    case DataFile::Template:
        return QStringLiteral("Data/template.xml");
    case DataFile::RemoteSetup:
        return QStringLiteral("Data/remotesetup.xml");
    }
    return {};
}

ReferenceHost::ReferenceHost(const QString &installDir)
    : m_installDir(QDir(installDir).absolutePath())
    , m_diagnostics(std::make_shared<Diagnostics>())
    , m_accounts(std::make_unique<FileAccountProvider>(m_diagnostics))
    , m_authority(std::make_unique<FileAuthorityProvider>(m_diagnostics))
    , m_serverList(std::make_unique<FileServerListProvider>(m_diagnostics))
    , m_remoteSetup(std::make_unique<FileRemoteSetupProvider>(m_serverList.get(), m_diagnostics))
    , m_options(std::make_unique<FileOptionProvider>(m_diagnostics))
    , m_templates(std::make_unique<FileTemplateProvider>(m_diagnostics))
{
    const QString iniPath = QDir(m_installDir).filePath(QStringLiteral("Config/Path.ini"));
    QString reason;
    const ostrelini::IniFile ini = ostrelini::IniFile::fromFile(iniPath, &reason);
    const bool iniRead = reason.isEmpty();
    if (!iniRead)
        m_diagnostics->report(FileOperation::Configure, iniPath,
                              reason + QStringLiteral("; the default data files are used"));
    for (DataFile file : kAllFiles) {
        QString value = ini.readString(u"PATH", pathKey(file), QString(), kPathBufferSize);
        if (value.isEmpty()) {
            value = defaultPath(file);
            if (iniRead && namedByModule(file))
                m_diagnostics->report(
                    FileOperation::Configure, iniPath,
                    QStringLiteral("section PATH has no %1; %2 is used").arg(pathKey(file), value));
        }
        m_paths[slot(file)] = resolveDataPath(m_installDir, value);
    }
}

ReferenceHost::~ReferenceHost() = default;

bool ReferenceHost::loadAll()
{
    bool allLoaded = true;
    for (DataFile file : kAllFiles)
        allLoaded = reload(file) && allLoaded;
    return allLoaded;
}

bool ReferenceHost::reload(DataFile file)
{
    IDataProvider &target = provider(file);
    target.clear();
    return target.loadFile(path(file).toUtf8().constData());
}

QString ReferenceHost::path(DataFile file) const
{
    return m_paths[slot(file)];
}

IDataProvider &ReferenceHost::provider(DataFile file)
{
    switch (file) {
    case DataFile::Account:
        return *m_accounts;
    case DataFile::Authority:
        return *m_authority;
    case DataFile::ServerList:
        return *m_serverList;
    case DataFile::Option:
        return *m_options;
    case DataFile::Template:
        return *m_templates;
    case DataFile::RemoteSetup:
        break;
    }
    return *m_remoteSetup;
}

std::array<IDataProvider *, 6> ReferenceHost::providers()
{
    return {m_accounts.get(),    m_authority.get(), m_serverList.get(),
            m_remoteSetup.get(), m_options.get(),   m_templates.get()};
}

} // namespace ostrelhost
