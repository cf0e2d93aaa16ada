// What the two sample remote-setup plug-ins share: the remote-setup object, which shows the
// recorder and its parameter block in a small window once started, and the bodies of the three
// exports. Each plug-in only names its product type and family.
#pragma once

#include <ostrel/remote_setup.h>

#include <QPointer>

class QLabel;
class QTableWidget;
class QWidget;

// The plug-ins are built with hidden visibility; only these three names leave the library.
#define OSTREL_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace sample {

class SampleRemoteSetup final : public IRemoteSetup
{
public:
    SampleRemoteSetup(std::int32_t productType, const char *family);
    ~SampleRemoteSetup();
    SampleRemoteSetup(const SampleRemoteSetup &) = delete;
    SampleRemoteSetup &operator=(const SampleRemoteSetup &) = delete;

    std::int32_t getInterfaceVersion() override;
    std::int32_t getProductType() override;
    bool prepare(const ServerIdentity *identity, RemoteSetupParameters *parameters,
                 std::int32_t reserved) override;
    void *window() override;
    bool start() override;

private:
    void buildWindow();
    void showParameters();

    std::int32_t m_productType;
    const char *m_family;
    ServerIdentity m_identity {0, 0};
    // The setup manager's block, read when the window is filled.
    RemoteSetupParameters *m_parameters = nullptr;
    // A host may reparent the window into one of its own, which then may destroy it first.
    QPointer<QWidget> m_window;
    QLabel *m_serverId = nullptr;
    QLabel *m_reportedType = nullptr;
    QLabel *m_hostValue = nullptr;
    QLabel *m_activeEntry = nullptr;
    QLabel *m_timeout = nullptr;
    QLabel *m_enabled = nullptr;
    QTableWidget *m_entries = nullptr;
};

// CreateSetup: an object for the plug-in's own product type, null for any other.
IRemoteSetup *createSetup(std::int32_t requestedType, std::int32_t ownType, const char *family);
// ReleaseSetup: destroys an object this plug-in created (and its window); others are ignored.
void releaseSetup(IRemoteSetup *setup);
// SetupTerm: destroys the objects a host never released.
void terminate();

} // namespace sample
