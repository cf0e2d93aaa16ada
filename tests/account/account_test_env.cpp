#include "account_test_env.h"

#include "common/language.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QWidget>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
    file.write(content);
}

// A dialog string file holding only messages.
void writeMessages(const QString &path,
                   std::initializer_list<std::pair<const char *, const char *>> items)
{
    QByteArray xml = "<?xml version=\"1.0\"?>\n<string><category id=\"message\">\n";
    for (const auto &[id, text] : items)
        xml += QByteArray("<item id=\"") + id + "\">" + text + "</item>\n";
    writeFile(path, xml + "</category></string>\n");
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
    ASSERT_TRUE(m_folder.isValid());
    const QString root = m_folder.path();
    writeFile(root + QStringLiteral("/Config/Path.ini"),
              "[PATH]\r\nxml_account=Data\\account.xml\r\nxml_authority=Data\\authority.xml\r\n");
    const QString language = root + QStringLiteral("/Language/en/");
    writeMessages(language + QStringLiteral("dlg_account_user.xml"),
                  {{"required_user_id", "Enter a user id."},
                   {"exist_user_id", "A user with this id exists."},
                   {"exist_group_id", "A group with this id exists."},
                   {"error_password_confirm", "The passwords differ."}});
    writeMessages(language + QStringLiteral("dlg_account_group.xml"),
                  {{"required_group_id", "Enter a group id."},
                   {"exist_group_id", "A group with this id exists."},
                   {"exist_user_id", "A user with this id exists."}});
    writeMessages(language + QStringLiteral("dlg_account_manager.xml"),
                  {{"confirm_delete_user", "Delete the user %s?"}});
    m_previousDirectory = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(root));
    Common::releaseLanguage();
}

void AccountTestEnv::TearDown()
{
    dialog.reset();
    QDir::setCurrent(m_previousDirectory);
    Common::releaseLanguage();
    flushDeferredDeletes();
    EXPECT_EQ(QApplication::topLevelWidgets().size(), m_topLevelWidgets)
        << "a top-level widget outlived the test";
    for (const testhost::CallLog *log : {accounts.log.get(), authority.log.get()})
        EXPECT_EQ(log->count("createWorkingCopy") + log->count("copy.createWorkingCopy"),
                  log->count("copy.release"))
            << "a working copy was not released";
}
