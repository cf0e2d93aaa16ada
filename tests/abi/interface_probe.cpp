// Everything a host or a plug-in compiles against, reachable from one exported function: the
// module exports only the setup manager's two functions, from which the provider interfaces and
// the records cannot be reached, so this library makes them reachable for the ABI comparison.
// Records are held by value, so that a changed size or a moved field shows; interfaces through
// pointers, with their definitions emitted here (-femit-class-debug-always).
#include <ostrel/data_provider.h>
#include <ostrel/records.h>
#include <ostrel/remote_setup.h>
#include <ostrel/setup_manager.h>

struct OstrelInterfaceProbe
{
    ISetupManager *setupManager;
    IDataProvider *provider;
    IAccountProvider *accounts;
    IAuthorityProvider *authority;
    IServerListProvider *servers;
    IRemoteSetupParameterProvider *remoteSetupParameterProvider;
    IOptionProvider *options;
    IDisplayTemplateProvider *templates;
    INotificationTarget *notificationTarget;
    IRemoteSetup *remoteSetup;
    IRemoteSetupSite *remoteSetupSite;
    UserRecord user;
    GroupRecord group;
    MemberRecord member;
    AuthorityCategory authorityCategory;
    AuthorityItem authorityItem;
    ServerRecord server;
    AdditionalInfo additionalInfo;
    CameraEntry camera;
    ServerIdentity serverIdentity;
    RemoteSetupParameters remoteSetupParameters;
    RemoteSetupEntry remoteSetupEntry;
    OptionRecord option;
    InfoView infoView;
    InfoCategory infoCategory;
    InfoItem infoItem;
    NotifyMessage notifyMessage;
};

extern "C" __attribute__((visibility("default"))) void ostrelInterfaceProbe(OstrelInterfaceProbe *)
{ }
