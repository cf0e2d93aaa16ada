#include <ostrelhost/file_template_provider.h>

#include "xml_file.h"

#include <cstdio>
#include <cstring>

namespace ostrelhost {

namespace {

constexpr char kRoot[] = "templates";

// The five item flags as "f0,f1,f2,f3,f4".
void readFlags(const pugi::xml_node &node, std::uint8_t (&flags)[5])
{
    const char *text = xml::text(node, "flags");
    if (!*text)
        return;
    unsigned parts[5];
    char end = 0;
    if (std::sscanf(text, "%3u,%3u,%3u,%3u,%3u%c", &parts[0], &parts[1], &parts[2], &parts[3],
                    &parts[4], &end)
            != 5
        || std::any_of(std::begin(parts), std::end(parts),
                       [](unsigned part) { return part > 255; }))
        throw xml::FormatError(node,
                               std::string("attribute flags of <item> is \"") + text
                                   + "\", expected five numbers from 0 to 255 such as 0,0,1,0,0");
    for (int i = 0; i < 5; ++i)
        flags[i] = static_cast<std::uint8_t>(parts[i]);
}

void writeFlags(pugi::xml_node &node, const std::uint8_t (&flags)[5])
{
    if (std::all_of(std::begin(flags), std::end(flags),
                    [](std::uint8_t flag) { return flag == 0; }))
        return;
    char text[24];
    std::snprintf(text, sizeof text, "%u,%u,%u,%u,%u", flags[0], flags[1], flags[2], flags[3],
                  flags[4]);
    xml::setText(node, "flags", text);
}

RecordPtr<DisplayTemplate> readTemplate(const pugi::xml_node &element, xml::Content &content)
{
    auto view = makeRecord<DisplayTemplate>();
    xml::readField(view->title, element, "title");
    content.each(element, "category", [&](const pugi::xml_node &categoryElement) {
        const bool expanded = xml::boolean(categoryElement, "expanded", true);
        InfoCategory *category = appendBlock(view->categories);
        xml::readField(category->name, categoryElement, "name");
        xml::readField(category->label, categoryElement, "label");
        category->expanded = expanded ? 1 : 0;
        content.each(categoryElement, "item", [&](const pugi::xml_node &itemElement) {
            InfoItem read;
            std::memset(&read, 0, sizeof read); // the record's padding is stored as well
            xml::readField(read.name, itemElement, "name");
            xml::readField(read.label, itemElement, "label");
            xml::readField(read.value, itemElement, "value");
            readFlags(itemElement, read.flags);
            read.hostData = static_cast<std::int32_t>(
                xml::integer(itemElement, "data", INT32_MIN, INT32_MAX, 0));
            std::memcpy(appendBlock(category->items), &read, sizeof read);
        });
    });
    return view;
}

void writeTemplate(pugi::xml_node &root, const std::string &name, const DisplayTemplate &view)
{
    pugi::xml_node element = root.append_child("template");
    xml::setText(element, "name", name);
    xml::setField(element, "title", view.title);
    for (std::size_t i = 0, n = seqSize(view.categories); i < n; ++i) {
        const InfoCategory *category = view.categories.first[i];
        if (!category)
            continue;
        pugi::xml_node categoryElement = element.append_child("category");
        xml::setField(categoryElement, "name", category->name);
        xml::setField(categoryElement, "label", category->label);
        xml::setBoolean(categoryElement, "expanded", category->expanded != 0);
        for (std::size_t j = 0, m = seqSize(category->items); j < m; ++j) {
            const InfoItem *item = category->items.first[j];
            if (!item)
                continue;
            pugi::xml_node itemElement = categoryElement.append_child("item");
            xml::setField(itemElement, "name", item->name);
            xml::setField(itemElement, "label", item->label);
            if (item->value[0])
                xml::setField(itemElement, "value", item->value);
            writeFlags(itemElement, item->flags);
            if (item->hostData)
                xml::setInteger(itemElement, "data", item->hostData);
        }
    }
}

} // namespace

FileTemplateProvider::FileTemplateProvider(std::shared_ptr<Diagnostics> diagnostics)
    : ProviderBase(std::move(diagnostics))
{ }

FileTemplateProvider::FileTemplateProvider(const FileTemplateProvider &other)
    : ProviderBase(other)
{
    for (const auto &[name, view] : other.m_templates)
        m_templates.emplace(name, cloneRecord(*view));
}

bool FileTemplateProvider::loadFile(const char *path)
{
    std::map<std::string, RecordPtr<DisplayTemplate>> templates;
    const bool whole = xml::loadDocument(
        path, kRoot, diagnostics(), origin(),
        [&](const pugi::xml_node &root, xml::Content &content) {
            content.each(root, "template", [&](const pugi::xml_node &element) {
                const std::string name = xml::text(element, "name");
                if (name.empty())
                    throw xml::FormatError(element, "a <template> has no name");
                if (templates.count(name))
                    throw xml::FormatError(element, "template \"" + name + "\" is defined twice");
                templates.emplace(name, readTemplate(element, content));
            });
        });
    // What could be read is kept; the rest was reported, and the file is kept when replaced.
    clear();
    m_templates = std::move(templates);
    return whole;
}

bool FileTemplateProvider::saveFile(const char *path)
{
    return xml::saveDocument(path, kRoot, diagnostics(), origin(), [this](pugi::xml_node &root) {
        for (const auto &[name, view] : m_templates)
            writeTemplate(root, name, *view);
    });
}

void FileTemplateProvider::clear()
{
    m_templates.clear();
}

bool FileTemplateProvider::getTemplate(const char *name, DisplayTemplate **out)
{
    if (!name || !out)
        return false;
    const auto found = m_templates.find(name);
    if (found == m_templates.end())
        return false;
    *out = found->second.get();
    return true;
}

void FileTemplateProvider::setTemplate(const std::string &name, RecordPtr<DisplayTemplate> view)
{
    if (view)
        m_templates[name] = std::move(view);
}

} // namespace ostrelhost
