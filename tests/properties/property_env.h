// What the property tests share: a copy of the embedded installation as the working directory
// for the whole program (made before the first test), and checks that fail a case with the
// record and byte that changed.
#pragma once

#include "common/logged_providers.h"
#include "support/record_bytes.h"
#include "support/record_gen.h"
#include "support/temp_install.h"

#include <rapidcheck.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CChooseMemberDlg;

namespace props {

// The test provider behind a dialog's working copy, which the dialog may read through a logging
// wrapper; throws std::bad_cast when it is not one of type Concrete.
template <typename Concrete, typename Interface>
Concrete &testProvider(Interface *provider)
{
    if (auto *logged = dynamic_cast<setupmgr::LoggedProvider<Interface> *>(provider))
        provider = logged->inner();
    return dynamic_cast<Concrete &>(*provider);
}

// Text a user might type: any characters, refused ones included, up to 20 bytes of UTF-8.
rc::Gen<QString> genTyped();

// Moves in the member chooser: all (0), none (1), one row in (2) or out (3).
using MemberMoves = std::vector<std::pair<int, int>>; // move and row
rc::Gen<MemberMoves> genMemberMoves();
void moveMembers(CChooseMemberDlg *chooser, const MemberMoves &moves);

// The records a tree's record items point at, in the tree's order.
std::vector<std::uintptr_t> treeRecords(const QTreeWidgetItem *parent);

// Fails the case when the records differ, naming the first difference.
void requireSame(const recordbytes::Records &before, const recordbytes::Records &after,
                 const std::string &what);
// Fails the case when after is not before with exactly one record whose text field at offset
// (size N) equals name removed; the others may stand in any order.
void requireOneRemoved(const recordbytes::Records &before, const recordbytes::Records &after,
                       std::size_t offset, std::size_t size, const std::string &name,
                       const std::string &what);

} // namespace props
