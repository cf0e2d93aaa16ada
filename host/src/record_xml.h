// Reading and writing the parts that several data files share.
#pragma once

#include "xml_file.h"

#include <ostrel/records.h>

namespace ostrelhost::xml {

// <member type="user|group|N" id="..."/> children of node, in order; a member whose type is
// malformed is reported and left out.
void readMembers(const pugi::xml_node &node, Content &content, PointerSeq<MemberRecord> &members);
void writeMembers(pugi::xml_node &node, const PointerSeq<MemberRecord> &members);

} // namespace ostrelhost::xml
