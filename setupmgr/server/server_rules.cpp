#include "server_rules.h"

#include "common/text_field.h"

#include <cstdlib>
#include <cstring>

namespace setupmgr {

namespace {

// Whether a record other than the one at position skip has that address and port; the list is
// read from the last record to the first.
bool addressTaken(IServerListProvider *servers, const QByteArray &address, std::uint16_t port,
                  std::int32_t skip)
{
    for (std::int32_t i = servers->getServerCount() - 1; i >= 0; --i) {
        ServerRecord *record = nullptr;
        if (i == skip || !servers->getServer(i, &record) || !record)
            continue;
        if (record->port == port && fieldBytes(record->address) == address)
            return true;
    }
    return false;
}

bool nameTaken(IServerListProvider *servers, const QByteArray &name)
{
    ServerRecord *record = nullptr;
    return servers->findServer(name.constData(), &record);
}

// Login texts keep to kLoginFieldLength bytes, though their fields are longer.
template <std::size_t N>
void setLoginField(char (&field)[N], const std::optional<QString> &text)
{
    static_assert(N > kLoginFieldLength);
    if (!text)
        return;
    char cut[kLoginFieldLength + 1];
    setField(cut, *text);
    copyField(field, cut);
}

template <std::size_t N>
void setChangedField(char (&field)[N], const std::optional<QString> &text)
{
    if (text)
        setField(field, *text);
}

} // namespace

ProductDefaults productDefaults(std::int32_t productKind)
{
    switch (productKind) {
    case 1:
        return {7000, "admin", false};
    case 2:
        return {7011, "vexil", true};
    case 3:
        return {6100, "ADMIN", false};
    default:
        return {7100, "admin", false};
    }
}

std::int32_t storedProductKind(std::int32_t productKind)
{
    return productKind >= 1 && productKind <= 3 ? productKind : 0;
}

const char *messageKey(ServerRefusal refusal)
{
    switch (refusal) {
    case ServerRefusal::SameName:
        return "sameServerNameExist";
    case ServerRefusal::SameAddress:
        return "sameServerIPExist";
    case ServerRefusal::CreateFailed:
        return "newServerCreateFail";
    case ServerRefusal::None:
    case ServerRefusal::EmptyName:
        break;
    }
    return nullptr;
}

bool refusesAddress(ServerRefusal refusal)
{
    return refusal == ServerRefusal::SameAddress;
}

ServerRefusal checkNewServer(IServerListProvider *servers, const QByteArray &name,
                             const QByteArray &address, std::uint16_t port)
{
    if (name.isEmpty())
        return ServerRefusal::EmptyName;
    if (!servers)
        return ServerRefusal::CreateFailed;
    const ServerLookup list {
        [servers](const QByteArray &taken) { return nameTaken(servers, taken); },
        [servers](const QByteArray &taken, std::uint16_t takenPort) {
            return addressTaken(servers, taken, takenPort, -1);
        }};
    return checkNewServer(list, name, address, port);
}

ServerRefusal checkNewServer(const ServerLookup &list, const QByteArray &name,
                             const QByteArray &address, std::uint16_t port)
{
    if (name.isEmpty())
        return ServerRefusal::EmptyName;
    if (list.nameTaken(name))
        return ServerRefusal::SameName;
    if (list.addressTaken(address, port))
        return ServerRefusal::SameAddress;
    return ServerRefusal::None;
}

QString trimmedServerText(const QString &text)
{
    return text.trimmed();
}

ServerRefusal checkEditedServer(IServerListProvider *servers, const ServerChange &change)
{
    if (change.nameChanged && change.name.isEmpty())
        return ServerRefusal::EmptyName;
    if (!servers)
        return ServerRefusal::CreateFailed;
    if (change.nameChanged && change.name != change.currentName && nameTaken(servers, change.name))
        return ServerRefusal::SameName;
    if (change.addressChanged && addressTaken(servers, change.address, change.port, change.edited))
        return ServerRefusal::SameAddress;
    return ServerRefusal::None;
}

void fillServerRecord(ServerRecord &record, const ServerFields &fields)
{
    setChangedField(record.name, fields.name);
    if (fields.productKind)
        record.productKind = storedProductKind(*fields.productKind);
    setChangedField(record.address, fields.address);
    if (fields.port)
        record.port = *fields.port;
    setLoginField(record.loginId, fields.loginId);
    setLoginField(record.password, fields.password);
    if (fields.useDdns)
        record.useDdns = *fields.useDdns ? 1 : 0;
    setLoginField(record.ddnsAddress, fields.ddnsAddress);
    setLoginField(record.ddnsId, fields.ddnsId);
    setLoginField(record.ddnsPassword, fields.ddnsPassword);
}

bool replaceAdditionalInfo(ServerRecord &record, const std::vector<InfoRow> &rows,
                           BlockAllocator allocate)
{
    PointerSeq<AdditionalInfo> entries {};
    for (const InfoRow &row : rows) {
        if (row.name.isEmpty() && !row.original)
            continue;
        auto *info = static_cast<AdditionalInfo *>(allocate(1, sizeof(AdditionalInfo)));
        if (!info || !seqAppend(entries, info)) {
            std::free(info);
            seqFreeBlocks(entries);
            return false;
        }
        if (row.original) {
            *info = *row.original;
            continue;
        }
        info->tag = row.tag;
        setField(info->name, row.name);
        setField(info->value, row.value);
    }
    seqFreeBlocks(record.additionalInfo);
    record.additionalInfo.first = entries.first;
    record.additionalInfo.last = entries.last;
    record.additionalInfo.endOfStorage = entries.endOfStorage;
    return true;
}

} // namespace setupmgr
