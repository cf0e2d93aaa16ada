#include "server_rules.h"

#include "common/text_field.h"

#include <cstdlib>
#include <cstring>

namespace setupmgr {

namespace {

// The last record, going backwards, other than the one named skipName, with that address and
// port.
bool addressTaken(IServerListProvider *servers, const QByteArray &address, std::uint16_t port,
                  const QByteArray *skipName)
{
    for (std::int32_t i = servers->getServerCount() - 1; i >= 0; --i) {
        ServerRecord *record = nullptr;
        if (!servers->getServer(i, &record) || !record)
            continue;
        if (skipName && fieldEquals(record->name, skipName->constData()))
            continue;
        if (record->port == port && fieldEquals(record->address, address.constData()))
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
void setLoginField(char (&field)[N], const QString &text)
{
    static_assert(N > kLoginFieldLength);
    char cut[kLoginFieldLength + 1];
    setField(cut, text);
    copyField(field, cut);
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

ServerRefusal checkNewServer(IServerListProvider *servers, const QString &name,
                             const QString &address, std::uint16_t port)
{
    if (name.isEmpty())
        return ServerRefusal::EmptyName;
    if (!servers)
        return ServerRefusal::CreateFailed;
    if (nameTaken(servers, name.toUtf8()))
        return ServerRefusal::SameName;
    if (addressTaken(servers, address.toUtf8(), port, nullptr))
        return ServerRefusal::SameAddress;
    return ServerRefusal::None;
}

ServerRefusal checkEditedServer(IServerListProvider *servers, const QString &currentName,
                                const QString &name, const QString &address, std::uint16_t port)
{
    if (name.isEmpty())
        return ServerRefusal::EmptyName;
    if (!servers)
        return ServerRefusal::CreateFailed;
    if (name != currentName && nameTaken(servers, name.toUtf8()))
        return ServerRefusal::SameName;
    const QByteArray current = currentName.toUtf8();
    if (addressTaken(servers, address.toUtf8(), port, &current))
        return ServerRefusal::SameAddress;
    return ServerRefusal::None;
}

void fillServerRecord(ServerRecord &record, const ServerFields &fields)
{
    setField(record.name, fields.name);
    record.productKind = storedProductKind(fields.productKind);
    setField(record.address, fields.address);
    record.port = fields.port;
    setLoginField(record.loginId, fields.loginId);
    setLoginField(record.password, fields.password);
    record.useDdns = fields.useDdns ? 1 : 0;
    setLoginField(record.ddnsAddress, fields.ddnsAddress);
    setLoginField(record.ddnsId, fields.ddnsId);
    setLoginField(record.ddnsPassword, fields.ddnsPassword);
}

bool replaceAdditionalInfo(ServerRecord &record, const std::vector<InfoRow> &rows)
{
    seqFreeBlocks(record.additionalInfo);
    for (const InfoRow &row : rows) {
        if (row.name.isEmpty())
            continue;
        auto *info = static_cast<AdditionalInfo *>(std::calloc(1, sizeof(AdditionalInfo)));
        if (!info || !seqAppend(record.additionalInfo, info)) {
            std::free(info);
            return false;
        }
        info->tag = row.tag;
        setField(info->name, row.name);
        setField(info->value, row.value);
    }
    return true;
}

} // namespace setupmgr
