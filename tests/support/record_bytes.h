// Records as the bytes they hold, for checks that a dialog left them exactly as they were: the
// record itself with its sequence words zeroed (their pointers differ between copies), then the
// elements of each sequence. A difference is named by record, field and byte.
#pragma once

#include "support/memory_providers.h"

#include <string>
#include <vector>

namespace recordbytes {

enum class Kind { User, Group, Category, AuthorityItem, Server, Options };

struct Flat
{
    Kind kind;
    std::string head;                           // the record, sequence words zeroed
    std::vector<std::vector<std::string>> seqs; // each sequence's elements

    bool operator==(const Flat &) const = default;
    auto operator<=>(const Flat &) const = default;
};

Flat flatten(const UserRecord &record);
Flat flatten(const GroupRecord &record);
Flat flatten(const AuthorityCategory &record);
Flat flatten(const AuthorityItem &record);
Flat flatten(const ServerRecord &record);
Flat flatten(const OptionRecord &record);

using Records = std::vector<Flat>;

Records users(const testhost::AccountData &data);
Records groups(const testhost::AccountData &data);
// Categories and items in the order the tree shows them, each item after its category.
Records authority(const testhost::AuthorityData &data);
Records servers(const testhost::ServerListData &data);
Records servers(const testhost::ServerValueData &data);

// The first difference, as "user 2: password byte 3 was 0x41, is 0x00"; empty when the two
// are equal.
std::string difference(const Records &before, const Records &after);

// The same, ignoring order: the two hold the same records as many times each.
bool sameMultiset(Records a, Records b);

// Every field by name, its bytes escaped up to its last that is not zero, then the sequences'
// elements: how a counterexample shows a record.
std::string describe(const Flat &flat);

} // namespace recordbytes
