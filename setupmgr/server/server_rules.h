// The rules of the recorder dialogs, kept apart from the widgets: the characters the name and
// address refuse, the defaults each product kind brings, the checks a recorder passes before it
// is stored, and how a record is filled. Plain functions over the recorder-list provider.
#pragma once

#include <ostrel/data_provider.h>

#include <QString>

#include <cstdint>
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

// The checks of a new recorder (name and address already trimmed); creating it is the caller's.
ServerRefusal checkNewServer(IServerListProvider *servers, const QString &name,
                             const QString &address, std::uint16_t port);
// The checks of an edited recorder, given by its current name: another record's name, another
// record's address and port. Its own name and address do not count.
ServerRefusal checkEditedServer(IServerListProvider *servers, const QString &currentName,
                                const QString &name, const QString &address, std::uint16_t port);

// The fields of the setup dialog, as they go into a record.
struct ServerFields
{
    QString name;
    QString address;
    std::uint16_t port = 0;
    std::int32_t productKind = 0;
    QString loginId;
    QString password;
    bool useDdns = false;
    QString ddnsAddress;
    QString ddnsId;
    QString ddnsPassword;
};
struct InfoRow
{
    std::int32_t tag; // -1 for rows made in the dialog
    QString name;
    QString value;
};
// Login id, password and the DDNS texts are stored with at most this many bytes.
inline constexpr int kLoginFieldLength = 49;

void fillServerRecord(ServerRecord &record, const ServerFields &fields);
// Destroys the record's additional information and appends one entry per row whose name is not
// empty, in order. False when memory ran out (the entries made so far stay).
bool replaceAdditionalInfo(ServerRecord &record, const std::vector<InfoRow> &rows);

} // namespace setupmgr
