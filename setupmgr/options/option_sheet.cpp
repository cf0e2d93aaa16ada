#include "option_sheet.h"

#include "common/check.h"
#include "common/language.h"
#include "common/module_log.h"
#include "common/working_copy.h"
#include "controls/image_list.h"
#include "controls/messages.h"
#include "options/option_page_general.h"
#include "sheet/tree_prop_sheet.h"

#include <ostrel/setup_manager.h>

#include <QVariant>

namespace setupmgr {

namespace {

constexpr char kOptionPathKey[] = "xml_option";
constexpr char kSheetImages[] = ":/ostrel/options/option_sheet_images.png";
constexpr int kSheetImageWidth = 16;
const QColor kSheetImageMask(0, 128, 128);

// Tells the client through the provider's notification link, when it has one, that the options
// were saved.
void notifySaved(IOptionProvider *provider)
{
    void *link = nullptr;
    provider->queryLink(LinkKind::Notification, &link);
    if (!link) {
        Common::writeLog("The client gave no notification target; it is not told that its "
                         "options were saved");
        return;
    }
    NotificationMessage message(kSaveNotificationId, provider);
    static_cast<INotificationTarget *>(link)->notify("Save", message.get());
}

} // namespace

NotificationMessage::NotificationMessage(std::uint32_t id, IDataProvider *sender)
    : m_message {id, sender, id >> 24, {}}
{ }

NotificationMessage::~NotificationMessage()
{
    for (std::size_t i = 0, n = seqSize(m_message.arguments); i < n; ++i)
        delete m_message.arguments.first[i];
    seqClear(m_message.arguments);
}

std::int32_t showOptionSheet(IOptionProvider *provider)
{
    OSTREL_CHECK(provider, kDialogCancel);
    WorkingCopy<IOptionProvider> workingCopy;
    workingCopy.reset(provider);
    if (!workingCopy) {
        // The client knows it made no copy; what to tell the user is its decision.
        Common::writeLog("The client made no working copy of its options; the option sheet is "
                         "not shown");
        return kDialogCancel;
    }

    std::int32_t result = kDialogCancel;
    {
        // Declared in the reverse order of their end: the image list goes first, then the page,
        // then the sheet.
        CTreePropSheet sheet(QStringLiteral("Ostrel Option"), nullptr, 0);
        sheet.setObjectName(QStringLiteral("optionSheet"));
        COptionPageGeneral page;
        // The page asks the copy for its options only once it has seen that the copy is an
        // option provider.
        page.SetWorkingCopy(workingCopy.get());
        if (!page.GetOptions()) {
            // Rows without values would show nothing true, and a change could reach no record.
            Common::writeLog("The working copy of the client's options is no option provider or "
                             "gives no options; the option sheet is not shown");
            showMessage(nullptr,
                        getStringOr("optionsUnreadable", "message",
                                    QStringLiteral("The client's options could not be read, so "
                                                   "the option sheet cannot be opened.")));
            return kDialogCancel;
        }
        const QList<QIcon> images
            = loadImageList(QLatin1String(kSheetImages), kSheetImageWidth, kSheetImageMask);
        sheet.AddPage(&page);
        sheet.SetEmptyPageFormat(Common::getString("emptyPageText", "option"));
        sheet.EnablePageTree(true, true, true);
        sheet.SetPageTreeImages(images);
        sheet.SetActivePage(&page);
        // The store runs before the sheet closes, so that a failed one leaves the user's changes
        // in the open sheet. A failed reload stored them all the same: the sheet closes, but
        // values the client does not hold are neither announced nor reported as saved.
        CommitResult committed = CommitResult::SaveFailed;
        sheet.SetCommitHandler([&sheet, &workingCopy, &committed, provider] {
            const QString path = workingCopyPath(kOptionPathKey);
            committed = commitWorkingCopy(workingCopy.get(), provider, path);
            showCommitFailure(&sheet, committed, path);
            return committed != CommitResult::SaveFailed;
        });
        if (sheet.exec() == CPropertySheet::Ok && committed == CommitResult::Stored) {
            notifySaved(provider);
            result = kDialogOk;
        }
        workingCopy.release();
    }
    return result;
}

} // namespace setupmgr
