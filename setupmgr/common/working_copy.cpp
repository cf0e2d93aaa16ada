#include "working_copy.h"

#include "check.h"
#include "folders.h"
#include "module_log.h"

namespace setupmgr {

QString workingCopyPath(const char *pathKey)
{
    return Common::getPathEntry(pathKey, true);
}

CommitResult commitWorkingCopy(IDataProvider *workingCopy, IDataProvider *provider,
                               const QString &path)
{
    OSTREL_CHECK(workingCopy, CommitResult::SaveFailed);
    const QByteArray file = path.toUtf8();
    if (!workingCopy->saveFile(file.constData())) {
        Common::writeLog("Saving the working copy to %s failed; the dialog keeps the changes",
                         file.constData());
        return CommitResult::SaveFailed;
    }
    if (provider) {
        provider->clear();
        if (!provider->loadFile(file.constData())) {
            Common::writeLog("The client could not reload %s after it was saved", file.constData());
            return CommitResult::ReloadFailed;
        }
    }
    return CommitResult::Stored;
}

} // namespace setupmgr
