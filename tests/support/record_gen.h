// Random records for property tests. Text fields hold any byte 1..255, up to the whole field
// without a terminating zero: invalid UTF-8, characters the edits refuse, blanks at either end.
// Ids and names come from a small pool, so duplicates and ids that differ only in letter case
// are common. The bytes no field owns (host fields, padding, what follows a terminating zero)
// come from one seed, so a failing case shrinks towards zeros there.
//
// Records are generated straight into the in-memory providers' data, which copies deeply, so
// that a case copies and shrinks like any value.
#pragma once

#include "support/memory_providers.h"

#include <rapidcheck.h>

#include <iosfwd>
#include <string>
#include <vector>

namespace recordgen {

using NamePool = std::vector<std::string>;

// Text of up to maxLength bytes, none of them zero.
rc::Gen<std::string> genText(std::size_t maxLength);
// A few names of up to maxLength bytes that a case's records share.
rc::Gen<NamePool> genNamePool(std::size_t maxLength);
// A pool name, the same with its ASCII letters' case changed, or a fresh text.
rc::Gen<std::string> genName(const NamePool &pool, std::size_t maxLength);

// Users and groups whose ids come from the pool; members name pool entries and accounts of
// either kind, with kinds beyond 0 and 1 now and then. minUsers and minGroups let a property
// ask for something to select.
rc::Gen<testhost::AccountData> genAccounts(const NamePool &pool, int minUsers = 0,
                                           int minGroups = 0);
// Categories and authority items whose members name the accounts' ids and the pool's; the
// first category has an item.
rc::Gen<testhost::AuthorityData> genAuthority(const NamePool &pool,
                                              const testhost::AccountData &accounts);
// Recorders with names from the pool, 0 to 20 additional-information entries, product kinds in
// and outside 0..3, random host fields.
rc::Gen<testhost::ServerListData> genServers(const NamePool &pool, int minServers = 0);
rc::Gen<OptionRecord> genOptions();

} // namespace recordgen

// How RapidCheck shows a counterexample: every field, bytes escaped. Found through the values'
// namespaces.
namespace testhost {
void showValue(const AccountData &data, std::ostream &os);
void showValue(const AuthorityData &data, std::ostream &os);
void showValue(const ServerListData &data, std::ostream &os);
} // namespace testhost
void showValue(const OptionRecord &record, std::ostream &os);
