// The users and groups of the client (kind 0), kept in an XML file.
#pragma once

#include <ostrelhost/owned_records.h>
#include <ostrelhost/provider_base.h>

#include <vector>

namespace ostrelhost {

class FileAccountProvider final
    : public ProviderBase<FileAccountProvider, IAccountProvider, ProviderKind::Account>
{
public:
    explicit FileAccountProvider(std::shared_ptr<Diagnostics> diagnostics = {});
    FileAccountProvider(const FileAccountProvider &other);

    bool loadFile(const char *path) override;
    bool saveFile(const char *path) override;
    void clear() override;

    std::int32_t getUserCount() override;
    bool getUser(std::int32_t index, UserRecord **out) override;
    // A record numbered -1 gets the next free number.
    bool addUser(const UserRecord *user) override;
    bool deleteUser(const char *id) override;
    std::int32_t getGroupCount() override;
    bool getGroup(std::int32_t index, GroupRecord **out) override;
    bool addGroup(const GroupRecord *group) override;
    bool deleteGroup(const char *id) override;

    // The group at index, or null, to read only: unlike getGroup it does not hand the record
    // out, so working copies made later still share it instead of copying it at once.
    const GroupRecord *group(std::int32_t index) const;

private:
    // The users of a copy lie in one array; users added later are records of their own.
    std::unique_ptr<UserRecord[]> m_userPool;
    std::vector<RecordPtr<UserRecord>> m_users;
    // A copy's groups are copied, with their member blocks, when first handed out.
    std::vector<CopyOnRead<GroupRecord>> m_groups;
};

} // namespace ostrelhost
