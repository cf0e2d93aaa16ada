// Random records for property tests. Text fields hold any byte 1..255, up to the whole field
// without a terminating zero: invalid UTF-8, characters the edits refuse, blanks at either end.
// Ids and names come from a small pool, so duplicates and ids that differ only in letter case
// are common. The bytes no field owns (host fields, padding, what follows a terminating zero)
// come from one seed, so a failing case shrinks towards zeros there.
//
// Records are generated as values (sequences as vectors) and only laid out in a provider's data
// by fill(), so that a case copies and shrinks like any value.
#pragma once

#include "support/memory_providers.h"

#include <rapidcheck.h>

#include <iosfwd>
#include <string>
#include <vector>

namespace recordgen {

using NamePool = std::vector<std::string>;

struct DrawnGroup
{
    GroupRecord record; // members empty; they follow as values
    std::vector<MemberRecord> members;
};

struct DrawnAccounts
{
    std::vector<UserRecord> users;
    std::vector<DrawnGroup> groups;
};

struct DrawnAuthorityItem
{
    AuthorityItem record; // members empty
    std::vector<MemberRecord> members;
};

struct DrawnCategory
{
    AuthorityCategory record;
    std::vector<DrawnAuthorityItem> items;
};

struct DrawnAuthority
{
    std::vector<DrawnCategory> categories;
};

struct DrawnServer
{
    ServerRecord record; // sequences empty
    std::vector<AdditionalInfo> info;
    std::vector<CameraEntry> cameras;
};

struct DrawnServerList
{
    std::vector<DrawnServer> servers;
};

// Text of up to maxLength bytes, none of them zero.
rc::Gen<std::string> genText(std::size_t maxLength);
// A few names of up to maxLength bytes that a case's records share.
rc::Gen<NamePool> genNamePool(std::size_t maxLength);
// A pool name, the same with its ASCII letters' case changed, or a fresh text.
rc::Gen<std::string> genName(const NamePool &pool, std::size_t maxLength);

// Users and groups whose ids come from the pool; members name pool entries and accounts of
// either kind, with kinds beyond 0 and 1 now and then. minUsers and minGroups let a property
// ask for something to select.
rc::Gen<DrawnAccounts> genAccounts(const NamePool &pool, int minUsers = 0, int minGroups = 0);
// Categories and authority items whose members name the accounts' ids and the pool's.
rc::Gen<DrawnAuthority> genAuthority(const NamePool &pool, const DrawnAccounts &accounts);
// Recorders with names from the pool, 0 to 20 additional-information entries, product kinds in
// and outside 0..3, random host fields.
rc::Gen<DrawnServerList> genServers(const NamePool &pool, int minServers = 0);
rc::Gen<OptionRecord> genOptions();

// Lays the records out as the provider keeps them, after those it already has.
void fill(testhost::AccountData &data, const DrawnAccounts &drawn);
void fill(testhost::AuthorityData &data, const DrawnAuthority &drawn);
void fill(testhost::ServerListData &data, const DrawnServerList &drawn);
// Leaves no spare room in the vector, so that the next recorder added moves them all.
void fill(testhost::ServerValueData &data, const DrawnServerList &drawn);

// How RapidCheck shows a counterexample: every field, bytes escaped.
void showValue(const DrawnGroup &drawn, std::ostream &os);
void showValue(const DrawnAccounts &drawn, std::ostream &os);
void showValue(const DrawnAuthorityItem &drawn, std::ostream &os);
void showValue(const DrawnCategory &drawn, std::ostream &os);
void showValue(const DrawnAuthority &drawn, std::ostream &os);
void showValue(const DrawnServer &drawn, std::ostream &os);
void showValue(const DrawnServerList &drawn, std::ostream &os);

} // namespace recordgen

// Found by RapidCheck through the records' (global) namespace.
void showValue(const UserRecord &record, std::ostream &os);
void showValue(const OptionRecord &record, std::ostream &os);
