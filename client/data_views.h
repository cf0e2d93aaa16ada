// What the client shows of its data: one tree per kind, and a snapshot of each so that the
// client can say what a dialog changed.
#pragma once

#include <ostrel/data_provider.h>

#include <QMap>
#include <QStringList>

class QTreeWidget;

namespace DataViews {

// key -> description; keys name the thing ("user bob"), descriptions its values.
using Snapshot = QMap<QString, QString>;

Snapshot accounts(IAccountProvider &provider);
Snapshot authority(IAuthorityProvider &provider);
Snapshot recorders(IServerListProvider &provider);
Snapshot options(IOptionProvider &provider, const QString &ostrelIni);

// "+ added", "- removed", "~ changed: old -> new", one line each, in key order.
QStringList difference(const Snapshot &before, const Snapshot &after);

void fillAccounts(QTreeWidget *tree, IAccountProvider &provider);
void fillAuthority(QTreeWidget *tree, IAuthorityProvider &provider);
// The recorder list's column of the product family; its items hold the product kind as user data.
inline constexpr int kFamilyColumn = 4;
// Products are named from oemIni as the module names them.
void fillRecorders(QTreeWidget *tree, IServerListProvider &provider, const QString &oemIni);
void fillOptions(QTreeWidget *tree, IOptionProvider &provider, const QString &ostrelIni);

// The name of the recorder of a row of the recorder tree, or empty.
QString recorderName(QTreeWidget *tree);

} // namespace DataViews
