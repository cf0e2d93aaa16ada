#include "record_xml.h"

#include <ostrelhost/owned_records.h>

namespace ostrelhost::xml {

void readMembers(const pugi::xml_node &node, Content &content, PointerSeq<MemberRecord> &members)
{
    content.each(node, "member", [&](const pugi::xml_node &element) {
        const std::string_view type = text(element, "type");
        std::int32_t kind = MemberUser;
        if (type == "group")
            kind = MemberGroup;
        else if (type != "user")
            kind = static_cast<std::int32_t>(integer(element, "type", INT32_MIN, INT32_MAX, 0));
        MemberRecord *member = appendBlock(members);
        member->kind = kind;
        readField(member->id, element, "id");
    });
}

void writeMembers(pugi::xml_node &node, const PointerSeq<MemberRecord> &members)
{
    for (std::size_t i = 0, n = seqSize(members); i < n; ++i) {
        const MemberRecord *member = members.first[i];
        if (!member)
            continue;
        pugi::xml_node element = node.append_child("member");
        if (member->kind == MemberUser)
            setText(element, "type", "user");
        else if (member->kind == MemberGroup)
            setText(element, "type", "group");
        else
            setInteger(element, "type", member->kind);
        setField(element, "id", member->id);
    }
}

} // namespace ostrelhost::xml
