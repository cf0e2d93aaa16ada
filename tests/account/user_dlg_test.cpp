#include "account/account_user_dlg.h"
#include "account_test_env.h"
#include "controls/beep.h"
#include "support/dialog_test_util.h"

#include <QLabel>

namespace {

enum { kIdEdit = 21017, kName = 21020, kDesc = 21021, kPass = 21022, kConfirm = 21023 };
enum { kMessage = 21197, kOk = 1 };

const QString kIdExists = QStringLiteral("A user with this ID already exists. Enter another ID.");

class UserDlgTest : public AccountTestEnv
{
protected:
    QDialog *open(UserRecord *user)
    {
        auto *opened = new CAccountUserDlg;
        opened->SetProvider(&accounts, user);
        dialog.reset(opened);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        return dialog.get();
    }
    QString text(int id) const { return control<QLineEdit>(dialog.get(), id)->text(); }
};

// A refused id or password keeps the dialog open, with the message and the focus on the field.
// '~' and ',' are refused only once the dialog has put the full set in place. Every field takes
// no more than its record field stores, counted in UTF-8 bytes, so what is shown is what is
// stored: a password of 30 "é" cannot be typed, since only 25 fit (the limit itself is the
// controls' test); Hangul takes three bytes a character, and a cut leaves no blank at the end
// of an id. The id is trimmed.
TEST_F(UserDlgTest, NewUserIsCheckedAndHoldsWhatIsStored)
{
    accounts.data.addUser("admin", "secret", "Administrator");
    accounts.data.addGroup("staff");
    QDialog *d = open(nullptr);
    const std::tuple<const char *, const char *, QString, int> refused[] = {
        {"   ", "", QStringLiteral("Enter a user ID."), kIdEdit},
        {"ADMIN", "", kIdExists, kIdEdit},
        {"Staff", "", QStringLiteral("A group with this ID already exists. Enter another ID."),
         kIdEdit},
        {"dave", "pw", QStringLiteral("The password and its confirmation do not match."), kPass},
    };
    for (const auto &[id, password, message, focus] : refused) {
        type(d, kIdEdit, QString::fromUtf8(id));
        type(d, kPass, QString::fromUtf8(password));
        click(d, kOk);
        EXPECT_TRUE(d->isVisible()) << id;
        EXPECT_EQ(control<QLabel>(d, kMessage)->text(), message) << id;
        EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(d, focus)) << id;
    }
    EXPECT_EQ(accounts.data.users.size(), 1u);

    const int beeps = setupmgr::beepCount();
    type(d, kIdEdit, QStringLiteral("a~b,c\\d e(f)"));
    EXPECT_EQ(text(kIdEdit), QStringLiteral("abcd e(f)"));
    EXPECT_EQ(setupmgr::beepCount(), beeps + 3);
    for (const auto &[field, length] : {std::pair {kIdEdit, 50}, {kName, 50}, {kDesc, 100}}) {
        type(d, field, QString(length + 10, QLatin1Char('x')));
        EXPECT_EQ(text(field).size(), length) << field;
    }
    type(d, kIdEdit, QStringLiteral("  ") + QString(16, QChar(0xD55C)) + u' ' + QChar(0xD55C));
    type(d, kName, QStringLiteral("Carol"));
    type(d, kDesc, QStringLiteral("night shift"));
    type(d, kPass, QString(30, QChar(0x00E9)));
    type(d, kConfirm, QString(30, QChar(0x00E9)));
    EXPECT_EQ(text(kPass), QString(25, QChar(0x00E9)));
    click(d, kOk);
    ASSERT_EQ(accounts.data.users.size(), 2u);
    const UserRecord &added = *accounts.data.users.back();
    EXPECT_EQ(
        QStringList({QString::fromUtf8(added.id), QString::fromUtf8(added.name),
                     QString::fromUtf8(added.description), QString::fromUtf8(added.password)}),
        QStringList({QString(16, QChar(0xD55C)), "Carol", "night shift", text(kPass)}));
    EXPECT_EQ(added.number, -1);
}

// The administrator's id cannot be changed, and the shown password passes its confirmation
// unchanged; another user may take its own id in another case but not an id that exists.
TEST_F(UserDlgTest, AdminKeepsItsIdAndOthersMayChangeOnlyTheirCase)
{
    UserRecord *admin = accounts.data.addUser("admin", "secret", "Administrator");
    UserRecord *bob = accounts.data.addUser("bob", "pw", "Bob");
    QDialog *d = open(admin);
    EXPECT_FALSE(control<QLineEdit>(d, kIdEdit)->isEnabled());
    type(d, kName, QStringLiteral("Root"));
    click(d, kOk);
    EXPECT_EQ(d->result(), 1);
    EXPECT_EQ(QByteArrayList({admin->id, admin->name, admin->password}),
              QByteArrayList({"admin", "Root", "secret"}));

    d = open(bob);
    type(d, kIdEdit, QStringLiteral("Admin"));
    click(d, kOk);
    EXPECT_EQ(control<QLabel>(d, kMessage)->text(), kIdExists);
    type(d, kIdEdit, QStringLiteral("Bob"));
    click(d, kOk);
    EXPECT_EQ(d->result(), 1);
    EXPECT_STREQ(bob->id, "Bob");
    EXPECT_EQ(accounts.data.users.size(), 2u);
}

} // namespace
