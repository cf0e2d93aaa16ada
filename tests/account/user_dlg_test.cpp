#include "account/account_look.h"
#include "account/account_user_dlg.h"
#include "account/beep.h"
#include "account_test_env.h"
#include "dialog_test_util.h"
#include "support/memory_providers.h"

#include <QLabel>

#include <cstring>

namespace {

enum { kIdEdit = 21017, kName = 21020, kDesc = 21021, kPass = 21022, kConfirm = 21023 };
enum { kIdLabel = 21167, kMessage = 21197, kOk = 1 };

class UserDlgTest : public AccountTestEnv
{
protected:
    void TearDown() override
    {
        dialog.reset();
        AccountTestEnv::TearDown();
    }

    void SetUp() override
    {
        AccountTestEnv::SetUp();
        admin = accounts.data.addUser("admin", "secret", "Administrator");
        bob = accounts.data.addUser("bob", "pw", "Bob");
        accounts.data.addGroup("staff");
    }

    void open(UserRecord *user)
    {
        dialog = std::make_unique<CAccountUserDlg>();
        dialog->SetProvider(&accounts, user);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
    }

    QString message() const { return control<QLabel>(dialog.get(), kMessage)->text(); }

    testhost::AccountProvider accounts;
    UserRecord *admin = nullptr;
    UserRecord *bob = nullptr;
    std::unique_ptr<CAccountUserDlg> dialog;
};

TEST_F(UserDlgTest, NewUserIsTrimmedAndAppended)
{
    open(nullptr);
    EXPECT_STREQ(dialog->metaObject()->className(), "CAccountUserDlg");
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("New User"));
    EXPECT_EQ(control<QLabel>(dialog.get(), kIdLabel)->text(), QStringLiteral("User &Id:"));
    type(dialog.get(), kIdEdit, QStringLiteral("  carol (ops) "));
    type(dialog.get(), kName, QStringLiteral("Carol"));
    type(dialog.get(), kDesc, QStringLiteral("night shift"));
    type(dialog.get(), kPass, QStringLiteral("Pw1"));
    type(dialog.get(), kConfirm, QStringLiteral("Pw1"));
    click(dialog.get(), kOk);

    EXPECT_EQ(dialog->result(), 1);
    ASSERT_EQ(accounts.data.users.size(), 3u);
    const UserRecord &carol = *accounts.data.users.back();
    EXPECT_STREQ(carol.id, "carol (ops)");
    EXPECT_STREQ(carol.name, "Carol");
    EXPECT_STREQ(carol.description, "night shift");
    EXPECT_STREQ(carol.password, "Pw1");
    EXPECT_EQ(carol.number, -1);
}

TEST_F(UserDlgTest, RefusedInputStaysOpenWithMessageAndFocus)
{
    open(nullptr);
    struct Case
    {
        const char *id;
        const char *password;
        const char *confirmation;
        const char *message;
        int focus;
    };
    const Case cases[] = {
        {"   ", "", "", "Enter a user id.", kIdEdit},
        {"ADMIN", "", "", "A user with this id exists.", kIdEdit},
        {"Staff", "", "", "A group with this id exists.", kIdEdit},
        {"dave", "pw", "", "The passwords differ.", kPass},
    };
    for (const Case &c : cases) {
        type(dialog.get(), kIdEdit, QString::fromUtf8(c.id));
        type(dialog.get(), kPass, QString::fromUtf8(c.password));
        type(dialog.get(), kConfirm, QString::fromUtf8(c.confirmation));
        click(dialog.get(), kOk);
        EXPECT_TRUE(dialog->isVisible()) << c.id;
        EXPECT_EQ(message(), QString::fromUtf8(c.message)) << c.id;
        EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(dialog.get(), c.focus)) << c.id;
    }
    EXPECT_EQ(accounts.data.users.size(), 2u);
    EXPECT_EQ(control<QLabel>(dialog.get(), kMessage)->palette().color(QPalette::WindowText),
              AccountLook::messageColor());
    EXPECT_EQ(dialog->palette().color(QPalette::Window), AccountLook::backgroundColor());
}

TEST_F(UserDlgTest, IdEditRefusesTheIdCharactersAndCapsLength)
{
    open(nullptr);
    const int beeps = Beep::count();
    // '~' and ',' are refused only once the dialog has put the full set in place.
    type(dialog.get(), kIdEdit, QStringLiteral("a~b,c\\d e(f)"));
    auto *id = control<QLineEdit>(dialog.get(), kIdEdit);
    EXPECT_EQ(id->text(), QStringLiteral("abcd e(f)"));
    EXPECT_EQ(Beep::count(), beeps + 3);
    type(dialog.get(), kIdEdit, QString(60, QLatin1Char('x')));
    EXPECT_EQ(id->text().size(), 50);
    type(dialog.get(), kDesc, QString(120, QLatin1Char('d')));
    EXPECT_EQ(control<QLineEdit>(dialog.get(), kDesc)->text().size(), 100);
}

TEST_F(UserDlgTest, AdminKeepsItsIdButTheRestChanges)
{
    open(admin);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Modify User"));
    auto *id = control<QLineEdit>(dialog.get(), kIdEdit);
    EXPECT_FALSE(id->isEnabled());
    EXPECT_EQ(control<QLineEdit>(dialog.get(), kConfirm)->text(), QStringLiteral("secret"));
    type(dialog.get(), kName, QStringLiteral("Root"));
    click(dialog.get(), kOk); // the shown password passes its confirmation unchanged
    EXPECT_EQ(dialog->result(), 1);
    EXPECT_STREQ(admin->id, "admin");
    EXPECT_STREQ(admin->name, "Root");
    EXPECT_STREQ(admin->password, "secret");
    EXPECT_EQ(accounts.data.users.size(), 2u);
}

TEST_F(UserDlgTest, ModifyMayChangeCaseOfOwnIdOnly)
{
    open(bob);
    type(dialog.get(), kIdEdit, QStringLiteral("Admin"));
    click(dialog.get(), kOk);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_STREQ(bob->id, "bob");
    type(dialog.get(), kIdEdit, QStringLiteral("Bob"));
    click(dialog.get(), kOk);
    EXPECT_EQ(dialog->result(), 1);
    EXPECT_STREQ(bob->id, "Bob");
}

} // namespace
