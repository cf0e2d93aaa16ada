// Compiled with -m32: the sizes and offsets of the 32-bit layout.
#include <ostrel/records.h>
#include <ostrel/remote_setup.h>

static_assert(sizeof(void *) == 4, "compile this check for a 32-bit target");

static_assert(sizeof(UserRecord) == 260);
static_assert(sizeof(MemberRecord) == 56);
static_assert(sizeof(PointerSeq<MemberRecord>) == 16);
static_assert(offsetof(GroupRecord, members) == 156 && sizeof(GroupRecord) == 172);
static_assert(offsetof(AuthorityItem, name) == 55 && offsetof(AuthorityItem, description) == 106
              && offsetof(AuthorityItem, members) == 160);
static_assert(offsetof(AuthorityCategory, name) == 55);
static_assert(sizeof(AdditionalInfo) == 108);
static_assert(offsetof(ServerRecord, loginId) == 328 && offsetof(ServerRecord, password) == 379);
static_assert(offsetof(ServerRecord, additionalInfo) == 432
              && offsetof(ServerRecord, cameras) == 448);
static_assert(offsetof(ServerRecord, version) == 464 && offsetof(ServerRecord, productCode) == 468);
static_assert(sizeof(ServerRecord) == 472);
static_assert(sizeof(InfoItem) == 164 && sizeof(InfoCategory) == 120);
static_assert(offsetof(InfoCategory, items) == 104 && offsetof(InfoView, categories) == 52);
static_assert(sizeof(ServerIdentity) == 8);
static_assert(sizeof(RemoteSetupParameters) == 21520);
static_assert(offsetof(RemoteSetupParameters, activeEntry) == 21508);
static_assert(offsetof(RemoteSetupParameters, enabled) == 21519);

int main()
{
    return 0;
}
