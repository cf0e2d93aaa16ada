#include "account/account_user_dlg.h"
#include "account_test_env.h"
#include "controls/beep.h"
#include "support/dialog_test_util.h"

#include <QLabel>

namespace {

enum { kIdEdit = 21017, kName = 21020, kDesc = 21021, kPass = 21022, kConfirm = 21023 };
enum { kMessage = 21197, kOk = 1 };

class UserDlgTest : public AccountTestEnv
{
protected:
    void SetUp() override
    {
        AccountTestEnv::SetUp();
        admin = accounts.data.addUser("admin", "secret", "Administrator");
        bob = accounts.data.addUser("bob", "pw", "Bob");
        accounts.data.addGroup("staff");
    }

    QDialog *open(UserRecord *user)
    {
        auto *opened = new CAccountUserDlg;
        opened->SetProvider(&accounts, user);
        dialog.reset(opened);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        return dialog.get();
    }

    UserRecord *admin = nullptr;
    UserRecord *bob = nullptr;
};

// A refused id or password keeps the dialog open, with the message and the focus on the field.
TEST_F(UserDlgTest, NewUserIsCheckedTrimmedAndAppended)
{
    QDialog *d = open(nullptr);
    const std::tuple<const char *, const char *, const char *, int> refused[] = {
        {"   ", "", "Enter a user id.", kIdEdit},
        {"ADMIN", "", "A user with this id exists.", kIdEdit},
        {"Staff", "", "A group with this id exists.", kIdEdit},
        {"dave", "pw", "The passwords differ.", kPass},
    };
    for (const auto &[id, password, message, focus] : refused) {
        type(d, kIdEdit, QString::fromUtf8(id));
        type(d, kPass, QString::fromUtf8(password));
        click(d, kOk);
        EXPECT_TRUE(d->isVisible()) << id;
        EXPECT_EQ(control<QLabel>(d, kMessage)->text(), QString::fromUtf8(message)) << id;
        EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(d, focus)) << id;
    }
    EXPECT_EQ(accounts.data.users.size(), 2u);

    type(d, kIdEdit, QStringLiteral("  carol (ops) "));
    type(d, kName, QStringLiteral("Carol"));
    type(d, kDesc, QStringLiteral("night shift"));
    type(d, kConfirm, QStringLiteral("pw"));
    click(d, kOk);
    ASSERT_EQ(accounts.data.users.size(), 3u);
    const UserRecord &carol = *accounts.data.users.back();
    EXPECT_STREQ(carol.id, "carol (ops)");
    EXPECT_STREQ(carol.name, "Carol");
    EXPECT_STREQ(carol.description, "night shift");
    EXPECT_STREQ(carol.password, "pw");
    EXPECT_EQ(carol.number, -1);
}

// '~' and ',' are refused only once the dialog has put the full set in place. Every field takes
// no more than its record field stores, counted in UTF-8 bytes, so what is shown is what is
// stored: a password of 30 "é" cannot be typed, since only 25 fit (the limit itself is the
// controls' test).
TEST_F(UserDlgTest, IdEditRefusesTheIdCharactersAndFieldsHoldWhatIsStored)
{
    QDialog *d = open(nullptr);
    const int beeps = setupmgr::beepCount();
    type(d, kIdEdit, QStringLiteral("a~b,c\\d e(f)"));
    EXPECT_EQ(control<QLineEdit>(d, kIdEdit)->text(), QStringLiteral("abcd e(f)"));
    EXPECT_EQ(setupmgr::beepCount(), beeps + 3);
    for (const auto &[field, length] : {std::pair {kIdEdit, 50}, {kName, 50}, {kDesc, 100}}) {
        type(d, field, QString(length + 10, QLatin1Char('x')));
        EXPECT_EQ(control<QLineEdit>(d, field)->text().size(), length) << field;
    }
    // Hangul takes three bytes a character; a cut leaves no blank at the end of an id.
    type(d, kIdEdit, QString(16, QChar(0xD55C)) + QStringLiteral(" ") + QChar(0xD55C));
    type(d, kPass, QString(30, QChar(0x00E9)));
    type(d, kConfirm, QString(30, QChar(0x00E9)));
    const QString shownPassword = control<QLineEdit>(d, kPass)->text();
    EXPECT_EQ(shownPassword.size(), 25);
    click(d, kOk);
    ASSERT_EQ(accounts.data.users.size(), 3u);
    const UserRecord &added = *accounts.data.users.back();
    EXPECT_EQ(QString::fromUtf8(added.password), shownPassword);
    EXPECT_EQ(QString::fromUtf8(added.id), QString(16, QChar(0xD55C)));
}

TEST_F(UserDlgTest, AdminKeepsItsIdAndOthersMayChangeOnlyTheirCase)
{
    QDialog *d = open(admin);
    EXPECT_FALSE(control<QLineEdit>(d, kIdEdit)->isEnabled());
    type(d, kName, QStringLiteral("Root"));
    click(d, kOk); // the shown password passes its confirmation unchanged
    EXPECT_EQ(d->result(), 1);
    EXPECT_STREQ(admin->id, "admin");
    EXPECT_STREQ(admin->name, "Root");
    EXPECT_STREQ(admin->password, "secret");

    d = open(bob);
    EXPECT_TRUE(control<QLineEdit>(d, kIdEdit)->isEnabled());
    type(d, kIdEdit, QStringLiteral("Admin"));
    click(d, kOk);
    EXPECT_TRUE(d->isVisible());
    EXPECT_STREQ(bob->id, "bob");
    type(d, kIdEdit, QStringLiteral("Bob"));
    click(d, kOk);
    EXPECT_EQ(d->result(), 1);
    EXPECT_STREQ(bob->id, "Bob");
    EXPECT_EQ(accounts.data.users.size(), 2u);
}

} // namespace
