#include <ostrelhost/file_authority_provider.h>

#include "record_utils.h"
#include "record_xml.h"

namespace ostrelhost {

namespace {

constexpr char kRoot[] = "authority";

} // namespace

FileAuthorityProvider::FileAuthorityProvider(std::shared_ptr<Diagnostics> diagnostics)
    : ProviderBase(std::move(diagnostics))
{ }

FileAuthorityProvider::FileAuthorityProvider(const FileAuthorityProvider &other)
    : ProviderBase(other)
    , m_categories(cloneCategories(other.m_categories))
{ }

std::vector<FileAuthorityProvider::Category>
FileAuthorityProvider::cloneCategories(const std::vector<Category> &categories)
{
    std::vector<Category> copies;
    copies.reserve(categories.size());
    for (const Category &category : categories)
        copies.push_back({cloneRecord(*category.record), cloneAll(category.items)});
    return copies;
}

bool FileAuthorityProvider::loadFile(const char *path)
{
    std::vector<Category> categories;
    const bool whole = xml::loadDocument(
        path, kRoot, diagnostics(), origin(),
        [&](const pugi::xml_node &root, xml::Content &content) {
            content.each(root, "category", [&](const pugi::xml_node &categoryElement) {
                Category category {makeRecord<AuthorityCategory>(), {}};
                category.record->number = static_cast<std::int32_t>(
                    xml::integer(categoryElement, "number", INT32_MIN, INT32_MAX,
                                 static_cast<std::int64_t>(categories.size())));
                xml::readField(category.record->id, categoryElement, "id");
                xml::readField(category.record->name, categoryElement, "name");
                content.each(categoryElement, "item", [&](const pugi::xml_node &element) {
                    auto item = makeRecord<AuthorityItem>();
                    item->number = static_cast<std::int32_t>(
                        xml::integer(element, "number", INT32_MIN, INT32_MAX,
                                     static_cast<std::int64_t>(category.items.size())));
                    xml::readField(item->id, element, "id");
                    xml::readField(item->name, element, "name");
                    xml::readField(item->description, element, "description");
                    xml::readMembers(element, content, item->members);
                    category.items.push_back(std::move(item));
                });
                categories.push_back(std::move(category));
            });
        });
    // What could be read is kept; the rest was reported, and the file is kept when replaced.
    clear();
    m_categories = std::move(categories);
    return whole;
}

bool FileAuthorityProvider::saveFile(const char *path)
{
    return xml::saveDocument(path, kRoot, diagnostics(), origin(), [this](pugi::xml_node &root) {
        for (const Category &category : m_categories) {
            pugi::xml_node categoryElement = root.append_child("category");
            xml::setInteger(categoryElement, "number", category.record->number);
            xml::setField(categoryElement, "id", category.record->id);
            xml::setField(categoryElement, "name", category.record->name);
            for (const auto &item : category.items) {
                pugi::xml_node element = categoryElement.append_child("item");
                xml::setInteger(element, "number", item->number);
                xml::setField(element, "id", item->id);
                xml::setField(element, "name", item->name);
                xml::setField(element, "description", item->description);
                xml::writeMembers(element, item->members);
            }
        }
    });
}

void FileAuthorityProvider::clear()
{
    m_categories.clear();
}

std::int32_t FileAuthorityProvider::getCategoryCount()
{
    return static_cast<std::int32_t>(m_categories.size());
}

bool FileAuthorityProvider::getCategory(std::int32_t index, AuthorityCategory **out)
{
    if (!out || !detail::validIndex(m_categories, index))
        return false;
    *out = m_categories[static_cast<std::size_t>(index)].record.get();
    return true;
}

std::int32_t FileAuthorityProvider::findCategory(const char *id)
{
    for (std::size_t i = 0; i < m_categories.size(); ++i) {
        if (detail::fieldEquals(m_categories[i].record->id, id))
            return static_cast<std::int32_t>(i);
    }
    return -1;
}

std::int32_t FileAuthorityProvider::getAuthorityCount(std::int32_t category)
{
    if (!detail::validIndex(m_categories, category))
        return 0;
    return static_cast<std::int32_t>(m_categories[static_cast<std::size_t>(category)].items.size());
}

bool FileAuthorityProvider::getAuthority(std::int32_t category, std::int32_t index,
                                         AuthorityItem **out)
{
    if (!out || !detail::validIndex(m_categories, category))
        return false;
    const auto &items = m_categories[static_cast<std::size_t>(category)].items;
    if (!detail::validIndex(items, index))
        return false;
    *out = items[static_cast<std::size_t>(index)].get();
    return true;
}

} // namespace ostrelhost
