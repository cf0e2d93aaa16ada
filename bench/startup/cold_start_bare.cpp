// The same cold start in bare Qt: read the installation's accounts with pugixml and show a dialog
// with the account manager's tree, fields and buttons, with the same texts, until its first
// paint. What the module adds on top (its language files, images, checks) is the difference.
//   cold_start_bare INSTALL_DIR
#include "first_paint.h"

#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <pugixml.hpp>

int main(int argc, char **argv)
{
    const auto start = coldstart::Clock::now();
    if (argc < 2)
        return 2;
    QApplication app(argc, argv);
    const long residentAtStart = coldstart::residentKb();

    pugi::xml_document accounts;
    const QByteArray file = QByteArray(argv[1]) + "/Data/account.xml";
    if (!accounts.load_file(file.constData()))
        return 3;

    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Account Manager"));
    auto *tree = new QTreeWidget;
    tree->setHeaderHidden(true);
    auto *root = new QTreeWidgetItem(tree, {QStringLiteral("Accounts")});
    auto *users = new QTreeWidgetItem(root, {QStringLiteral("Users")});
    auto *groups = new QTreeWidgetItem(root, {QStringLiteral("Groups")});
    for (const pugi::xml_node user : accounts.child("accounts").children("user"))
        new QTreeWidgetItem(users, {QString::fromUtf8(user.attribute("id").value())});
    for (const pugi::xml_node group : accounts.child("accounts").children("group"))
        new QTreeWidgetItem(groups, {QString::fromUtf8(group.attribute("id").value())});
    tree->expandAll();

    auto *info = new QGroupBox(QStringLiteral("Information"));
    auto *fields = new QVBoxLayout(info);
    for (const char *label : {"User &ID:", "&Name:", "&Description:"}) {
        fields->addWidget(new QLabel(QString::fromLatin1(label)));
        fields->addWidget(new QLineEdit);
    }
    fields->addWidget(new QListWidget);
    auto *buttons = new QVBoxLayout;
    for (const char *text : {"&New...", "&Modify...", "&Delete...", "OK", "Close"})
        buttons->addWidget(new QPushButton(QString::fromLatin1(text)));
    auto *layout = new QHBoxLayout(&dialog);
    layout->addWidget(tree);
    layout->addWidget(info);
    layout->addLayout(buttons);

    coldstart::FirstPaint watcher("QDialog", [&](QWidget *window) {
        coldstart::report("", coldstart::msSince(start), coldstart::residentKb() - residentAtStart);
        static_cast<QDialog *>(window)->reject();
    });
    dialog.exec();
    return 0;
}
