// The message boxes the module shows, captioned with the host application's name.
#pragma once

#include "common/working_copy.h"

#include <QString>

class QWidget;

namespace setupmgr {

// A question with Yes and No; true for Yes. Return answers No when noByDefault is set.
bool askYesNo(QWidget *parent, const QString &text, bool noByDefault = false);
// A message with an OK button.
void showMessage(QWidget *parent, const QString &text);
// The client refused to take a record into its working data (an append that failed): the work is
// still in the dialog, which stays open.
void showRecordNotStored(QWidget *parent);
// Tells the user what a commit to path that did not go through means for the work: a failed
// save keeps the changes in the dialog; after a failed reload the file holds them but the client
// may not show them. Nothing for a commit that stored.
void showCommitFailure(QWidget *parent, CommitResult result, const QString &path);

} // namespace setupmgr
