// The product names of the installation the module runs in.
#include "folders.h"
#include "product_names.h"

namespace {

QString oemIniPath()
{
    return Common::getFolderPath(FolderKind::Config, QStringLiteral("oem.ini"));
}

} // namespace

std::vector<setupmgr::ProductEntry> setupmgr::readProductList()
{
    return readProductList(oemIniPath());
}

QString Common::getProductName(std::int32_t productCode)
{
    return setupmgr::productName(productCode, oemIniPath());
}
