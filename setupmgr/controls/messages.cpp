#include "messages.h"

#include "common/language.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

namespace setupmgr {

bool askYesNo(QWidget *parent, const QString &text, bool noByDefault)
{
    return QMessageBox::question(parent, QApplication::applicationDisplayName(), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 noByDefault ? QMessageBox::No : QMessageBox::NoButton)
        == QMessageBox::Yes;
}

void showMessage(QWidget *parent, const QString &text)
{
    QMessageBox::warning(parent, QApplication::applicationDisplayName(), text);
}

void showRecordNotStored(QWidget *parent)
{
    showMessage(parent,
                getStringOr("recordNotStored", "message",
                            QStringLiteral("The client did not take the change. It is "
                                           "still in this window: press OK again, or "
                                           "Cancel.")));
}

void showCommitFailure(QWidget *parent, CommitResult result, const QString &path)
{
    QString format;
    switch (result) {
    case CommitResult::Stored:
        return;
    case CommitResult::SaveFailed:
        format = getStringOr(
            "saveFailed", "message",
            QStringLiteral("The changes could not be saved to \"%s\". They are still in this "
                           "window: check that the file can be written, then press OK again."));
        break;
    case CommitResult::ReloadFailed:
        format = getStringOr(
            "reloadFailed", "message",
            QStringLiteral("The changes were saved to \"%s\", but the client could not load that "
                           "file again: it may not show them until it is restarted."));
        break;
    }
    showMessage(parent, Common::formatMessage(format, QDir::toNativeSeparators(path)));
}

} // namespace setupmgr
