#include "server_info_view.h"

#include "common/check.h"
#include "common/info_view.h"
#include "common/language.h"
#include "common/logged_providers.h"
#include "common/product_names.h"
#include "common/text_field.h"

#include <cstdlib>
#include <cstring>

namespace setupmgr {

namespace {

IDisplayTemplateProvider *g_templateProvider = nullptr;

constexpr char kTemplateName[] = "serverInfo";
constexpr char kRecorderCategory[] = "dvr";
constexpr char kAdditionalCategory[] = "addInfo";

// Only zero means "no version": a recorder may report 0.0.0.1.
bool hasVersion(const std::uint8_t (&version)[4])
{
    return (version[0] | version[1] | version[2] | version[3]) != 0;
}

// The value of a "dvr" item from the record, as bytes; false keeps the template's value. The
// record's texts are copied as they are, so a full 51-byte name shows whole.
bool recorderValue(const InfoItem &item, const ServerRecord &record, QByteArray *value)
{
    const auto is = [&item](const char *name) { return fieldEquals(item.name, name); };
    if (is("type"))
        *value = Common::getProductName(record.productCode).toUtf8();
    else if (is("name"))
        *value = fieldBytes(record.name);
    else if (is("version")) {
        if (!hasVersion(record.version))
            return false;
        *value = QString::asprintf("%d.%d%d%d", record.version[0], record.version[1],
                                   record.version[2], record.version[3])
                     .toUtf8();
    } else if (is("connected"))
        *value = Common::getYesNo(record.connected != 0).toUtf8();
    else if (is("cameraCount"))
        *value = QByteArray::number(qulonglong(seqSize(record.cameras)));
    else if (is("url"))
        *value = fieldBytes(record.address);
    else if (is("port"))
        *value = QByteArray::number(record.port);
    else if (is("accountId"))
        *value = fieldBytes(record.loginId);
    else
        return false;
    return true;
}

template <typename T>
T *appendZeroed(PointerSeq<T> &seq)
{
    T *block = static_cast<T *>(std::calloc(1, sizeof(T)));
    if (block && seqAppend(seq, block))
        return block;
    std::free(block);
    return nullptr;
}

// Copies one template category with its items into the view; false when memory runs out (what
// was appended is in the view already and is freed with it).
bool appendCategory(InfoView &view, const InfoCategory &source, const ServerRecord &record)
{
    InfoCategory *category = appendZeroed(view.categories);
    if (!category)
        return false;
    std::memcpy(category->name, source.name, sizeof category->name);
    std::memcpy(category->label, source.label, sizeof category->label);
    category->expanded = source.expanded;

    const bool recorderItems = fieldEquals(source.name, kRecorderCategory);
    for (std::size_t i = 0, n = seqSize(source.items); i < n; ++i) {
        const InfoItem *templateItem = source.items.first[i];
        if (!templateItem)
            continue;
        InfoItem *item = appendZeroed(category->items);
        if (!item)
            return false;
        std::memcpy(static_cast<void *>(item), templateItem, sizeof(InfoItem));
        QByteArray value;
        if (recorderItems && recorderValue(*item, record, &value))
            setFieldBytes(item->value, value);
    }

    if (!fieldEquals(source.name, kAdditionalCategory))
        return true;
    for (std::size_t i = 0, n = seqSize(record.additionalInfo); i < n; ++i) {
        const AdditionalInfo *entry = record.additionalInfo.first[i];
        if (!entry)
            continue;
        InfoItem *item = appendZeroed(category->items);
        if (!item)
            return false;
        setFieldBytes(item->label, fieldBytes(entry->name));
        setFieldBytes(item->value, fieldBytes(entry->value));
    }
    return true;
}

} // namespace

void setDisplayTemplateProvider(IDisplayTemplateProvider *provider)
{
    g_templateProvider = provider;
}

IDisplayTemplateProvider *displayTemplateProvider()
{
    return g_templateProvider;
}

} // namespace setupmgr

InfoView *BuildServerInfoView(const ServerRecord &record)
{
    auto *view = static_cast<InfoView *>(std::calloc(1, sizeof(InfoView)));
    OSTREL_CHECK(view, nullptr);
    IDisplayTemplateProvider *provider = setupmgr::displayTemplateProvider();
    DisplayTemplate *source = nullptr;
    if (!provider)
        return view;
    if (!provider->getTemplate(setupmgr::kTemplateName, &source) || !source) {
        setupmgr::logProviderFailure("The client's display templates", "getTemplate");
        return view;
    }

    std::memcpy(view->title, source->title, sizeof view->title);
    bool complete = true;
    for (std::size_t i = 0, n = seqSize(source->categories); complete && i < n; ++i) {
        const InfoCategory *category = source->categories.first[i];
        complete = !category || setupmgr::appendCategory(*view, *category, record);
    }
    // Out of memory: show nothing rather than a view with gaps.
    if (!complete)
        setupmgr::freeInfoView(view);
    OSTREL_CHECK(complete, nullptr);
    return view;
}
