// Display templates by name (kind 8), kept in an XML file; the module asks for "serverInfo" to
// lay out a recorder's information.
#pragma once

#include <ostrelhost/owned_records.h>
#include <ostrelhost/provider_base.h>

#include <map>
#include <string>

namespace ostrelhost {

class FileTemplateProvider final
    : public ProviderBase<FileTemplateProvider, IDisplayTemplateProvider,
                          ProviderKind::DisplayTemplate>
{
public:
    explicit FileTemplateProvider(std::shared_ptr<Diagnostics> diagnostics = {});
    FileTemplateProvider(const FileTemplateProvider &other);

    bool loadFile(const char *path) override;
    bool saveFile(const char *path) override;
    void clear() override;

    // Exact name; false when there is no template of that name.
    bool getTemplate(const char *name, DisplayTemplate **out) override;

    // Adds or replaces a template; the provider takes it.
    void setTemplate(const std::string &name, RecordPtr<DisplayTemplate> view);

private:
    std::map<std::string, RecordPtr<DisplayTemplate>> m_templates;
};

} // namespace ostrelhost
