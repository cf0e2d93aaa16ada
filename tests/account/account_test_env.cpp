#include "account_test_env.h"

#include "common/language.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QWidget>

namespace {

// A dialog string file holding only messages.
void writeMessages(const TempInstall &install, const QString &file,
                   std::initializer_list<std::pair<const char *, const char *>> items)
{
    QByteArray xml = "<?xml version=\"1.0\"?>\n<string><category id=\"message\">\n";
    for (const auto &[id, text] : items)
        xml += QByteArray("<item id=\"") + id + "\">" + text + "</item>\n";
    install.write(QStringLiteral("Language/en/") + file, xml + "</category></string>\n");
}

// Deletes the widgets whose deletion was posted, so leaks and deferred deletions are told apart.
void flushDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

void AccountTestEnv::SetUp()
{
    flushDeferredDeletes();
    m_topLevelWidgets = QApplication::topLevelWidgets().size();
    m_install.emplace();
    m_install->write(
        QStringLiteral("Config/Path.ini"),
        "[PATH]\r\nxml_account=Data\\account.xml\r\nxml_authority=Data\\authority.xml\r\n");
    writeMessages(*m_install, QStringLiteral("dlg_account_user.xml"),
                  {{"required_user_id", "Enter a user id."},
                   {"exist_user_id", "A user with this id exists."},
                   {"exist_group_id", "A group with this id exists."},
                   {"error_password_confirm", "The passwords differ."}});
    writeMessages(*m_install, QStringLiteral("dlg_account_group.xml"),
                  {{"required_group_id", "Enter a group id."},
                   {"exist_group_id", "A group with this id exists."},
                   {"exist_user_id", "A user with this id exists."}});
    writeMessages(*m_install, QStringLiteral("dlg_account_manager.xml"),
                  {{"confirm_delete_user", "Delete the user %s?"}});
    Common::releaseLanguage();
}

void AccountTestEnv::TearDown()
{
    dialog.reset();
    m_install.reset();
    Common::releaseLanguage();
    flushDeferredDeletes();
    EXPECT_EQ(QApplication::topLevelWidgets().size(), m_topLevelWidgets)
        << "a top-level widget outlived the test";
    for (const testhost::CallLog *log : {accounts.log.get(), authority.log.get()})
        EXPECT_EQ(log->count("createWorkingCopy") + log->count("copy.createWorkingCopy"),
                  log->count("copy.release"))
            << "a working copy was not released";
}
