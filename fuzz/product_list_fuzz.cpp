// The product list and product names of an installation's Config/oem.ini, on arbitrary file
// contents. The run works in an installation folder of its own: the module finds the
// installation in the working directory.
#include "common/product_names.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

const QTemporaryDir &installation()
{
    static const QTemporaryDir dir(QDir(QDir(QStringLiteral("/dev/shm")).exists()
                                            ? QStringLiteral("/dev/shm")
                                            : QDir::tempPath())
                                       .filePath(QStringLiteral("ostrel-fuzz-install-XXXXXX")));
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (!installation().isValid() || !QDir(installation().path()).mkpath(QStringLiteral("Config"))
        || !QDir::setCurrent(installation().path()))
        __builtin_trap();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QFile oem(QStringLiteral("Config/oem.ini"));
    if (!oem.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || oem.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size))
            != static_cast<qint64>(size))
        return 0;
    oem.close();

    const std::vector<setupmgr::ProductEntry> products = setupmgr::readProductList();
    if (products.empty() || products.front().kind != setupmgr::ProductKind::Generic)
        __builtin_trap(); // the default entry comes first
    for (const setupmgr::ProductEntry &product : products) {
        if (product.name.toUtf8().size() > 99)
            __builtin_trap(); // a name fits its buffer of 100
    }
    // One code of each section, and one without a row.
    for (const std::int32_t code : {0x040204, 0x100903, 0x100A01, 0x100B08, 0x7FFFFFFF}) {
        if (Common::getProductName(code).toUtf8().size() > 259)
            __builtin_trap(); // a name fits its buffer of 260
    }
    return 0;
}
