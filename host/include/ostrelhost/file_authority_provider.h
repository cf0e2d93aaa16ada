// The authority of the client (kind 1): categories of authority items, each item with the users
// and groups that hold it, kept in an XML file. The items are fixed by the file; the module only
// changes their member lists.
#pragma once

#include <ostrelhost/owned_records.h>
#include <ostrelhost/provider_base.h>

#include <vector>

namespace ostrelhost {

class FileAuthorityProvider final
    : public ProviderBase<FileAuthorityProvider, IAuthorityProvider, ProviderKind::Authority>
{
public:
    explicit FileAuthorityProvider(std::shared_ptr<Diagnostics> diagnostics = {});
    FileAuthorityProvider(const FileAuthorityProvider &other);

    bool loadFile(const char *path) override;
    bool saveFile(const char *path) override;
    void clear() override;

    std::int32_t getCategoryCount() override;
    bool getCategory(std::int32_t index, AuthorityCategory **out) override;
    // Matches the id exactly.
    std::int32_t findCategory(const char *id) override;
    std::int32_t getAuthorityCount(std::int32_t category) override;
    bool getAuthority(std::int32_t category, std::int32_t index, AuthorityItem **out) override;

private:
    struct Category
    {
        RecordPtr<AuthorityCategory> record;
        std::vector<RecordPtr<AuthorityItem>> items;
    };
    static std::vector<Category> cloneCategories(const std::vector<Category> &categories);

    std::vector<Category> m_categories;
};

} // namespace ostrelhost
