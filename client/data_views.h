// What the client shows of its data: one tree per kind, and a snapshot of each so that the
// client can say what a dialog changed.
#pragma once

#include <ostrel/data_provider.h>
#include <ostrelhost/file_account_provider.h>
#include <ostrelhost/file_server_list_provider.h>

#include <QMap>
#include <QStringList>

class QTreeWidget;

namespace DataViews {

// key -> description; keys name the thing ("user bob"), descriptions its values.
using Snapshot = QMap<QString, QString>;

// The accounts and recorders are read without being handed out (see FileAccountProvider::group),
// so that the working copy a dialog makes of them later copies only what the dialog reads.
Snapshot accounts(ostrelhost::FileAccountProvider &provider);
Snapshot authority(IAuthorityProvider &provider);
Snapshot recorders(ostrelhost::FileServerListProvider &provider);
Snapshot options(IOptionProvider &provider, const QString &ostrelIni);

// "+ added", "- removed", "~ changed: old -> new", one line each, in key order.
QStringList difference(const Snapshot &before, const Snapshot &after);

void fillAccounts(QTreeWidget *tree, ostrelhost::FileAccountProvider &provider);
void fillAuthority(QTreeWidget *tree, IAuthorityProvider &provider);
// The recorder list's column of the product family; its items hold the product kind as user data.
inline constexpr int kFamilyColumn = 4;
// Products are named from oemIni as the module names them.
void fillRecorders(QTreeWidget *tree, ostrelhost::FileServerListProvider &provider,
                   const QString &oemIni);
void fillOptions(QTreeWidget *tree, IOptionProvider &provider, const QString &ostrelIni);

// The name of the recorder of a row of the recorder tree, or empty.
QString recorderName(QTreeWidget *tree);

} // namespace DataViews
