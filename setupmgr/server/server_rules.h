// The rules of the recorder dialogs, kept apart from the widgets: the characters the name and
// address refuse, the defaults each product kind brings, the checks a recorder passes before it
// is stored, and how a record is filled. Plain functions over the recorder-list provider.
#pragma once

#include <ostrel/data_provider.h>

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

namespace setupmgr {

// Refused in the address; the name refuses the same and both parentheses.
inline constexpr char kForbiddenAddressChars[] = "~!@#$%^&*+|`=\\:;\"'<>?/,";
inline constexpr char kForbiddenServerNameChars[] = "~!@#$%^&*()+|`=\\:;\"'<>?/,";
// The edits' set until the dialog replaces it when it opens.
inline constexpr char kInitialServerChars[] = "%'*\"+?><:\\";

inline constexpr char kServerListPathKey[] = "xml_serverinfo";

// What choosing a product fills in.
struct ProductDefaults
{
    std::uint16_t port;
    const char *loginId;
    bool passwordToo; // the password takes the login id as well
};
ProductDefaults productDefaults(std::int32_t productKind);
// The kind a record stores: 1, 2 or 3 as chosen, anything else 0.
std::int32_t storedProductKind(std::int32_t productKind);

// Why a recorder cannot be stored, in the order the checks run.
enum class ServerRefusal {
    None,
    EmptyName,    // no message: the focus goes to the name
    SameName,     // "sameServerNameExist"
    SameAddress,  // "sameServerIPExist": the same address and port
    CreateFailed, // "newServerCreateFail"
};
// The key of the message in category "message" of the shared strings; null for none.
const char *messageKey(ServerRefusal refusal);
// Whether the refusal puts the focus on the address (else on the name).
bool refusesAddress(ServerRefusal refusal);

// The checks compare names and addresses as a record field stores them (storedBytes of
// common/text_field.h), never text decoded from a record, so that names and addresses in a legacy
// encoding or filling their field to the last byte are found as they are.

// The checks of a new recorder (name and address as stored); creating it is the caller's.
ServerRefusal checkNewServer(IServerListProvider *servers, const QByteArray &name,
                             const QByteArray &address, std::uint16_t port);
// The same checks, in the same order, against names and addresses looked up elsewhere: an import
// of many recorders keeps them in hash sets rather than scanning the list for each one.
struct ServerLookup
{
    std::function<bool(const QByteArray &name)> nameTaken;
    std::function<bool(const QByteArray &address, std::uint16_t port)> addressTaken;
};
ServerRefusal checkNewServer(const ServerLookup &list, const QByteArray &name,
                             const QByteArray &address, std::uint16_t port);
// Name and address lose their blanks at either end before they are checked and stored.
QString trimmedServerText(const QString &text);
// The checks of an edited recorder, the record at position edited of the list. Only what the user
// changed is checked: a new name against the other records' names, a new address or port against
// the other records' addresses and ports. The record's own name, address and port never count,
// and neither do duplicates the list held before.
struct ServerChange
{
    std::int32_t edited;
    QByteArray currentName;
    QByteArray name;
    QByteArray address;
    std::uint16_t port;
    bool nameChanged;
    bool addressChanged; // the address or the port
};
ServerRefusal checkEditedServer(IServerListProvider *servers, const ServerChange &change);

// The fields of the setup dialog, as they go into a record. A field left empty (nullopt) is one
// the user did not change: the record keeps its bytes.
struct ServerFields
{
    std::optional<QString> name;
    std::optional<QString> address;
    std::optional<std::uint16_t> port;
    std::optional<std::int32_t> productKind;
    std::optional<QString> loginId;
    std::optional<QString> password;
    std::optional<bool> useDdns;
    std::optional<QString> ddnsAddress;
    std::optional<QString> ddnsId;
    std::optional<QString> ddnsPassword;
};
struct InfoRow
{
    std::int32_t tag; // -1 for rows made in the dialog
    QString name;
    QString value;
    // The record's entry when the row shows it unchanged: stored back byte for byte, even when
    // its name is empty.
    std::optional<AdditionalInfo> original;
};
// Login id, password and the DDNS texts are stored with at most this many bytes.
inline constexpr int kLoginFieldLength = 49;

void fillServerRecord(ServerRecord &record, const ServerFields &fields);
// Makes the record's additional information one entry per row whose name is not empty (or that
// keeps its original entry), in order. All or nothing: when memory runs out the record keeps
// what it had and the result is false. allocate takes the place of calloc in tests.
using BlockAllocator = void *(*)(std::size_t count, std::size_t size);
bool replaceAdditionalInfo(ServerRecord &record, const std::vector<InfoRow> &rows,
                           BlockAllocator allocate = std::calloc);

} // namespace setupmgr
