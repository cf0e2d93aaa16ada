#include "account_test_env.h"

#include "common/folders.h"
#include "common/language.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QWidget>

namespace {

struct Text
{
    const char *category;
    const char *id;
    const char *text;
};

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
    file.write(content);
}

QByteArray escaped(const char *text)
{
    return QString::fromUtf8(text).toHtmlEscaped().toUtf8();
}

// A dialog string file: categories with items.
void writeDialogFile(const QString &path, std::initializer_list<Text> texts)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<string>\n";
    for (const Text &text : texts) {
        xml += "<category id=\"" + QByteArray(text.category) + "\"><item id=\""
            + QByteArray(text.id) + "\">" + escaped(text.text) + "</item></category>\n";
    }
    writeFile(path, xml + "</string>\n");
}

// The shared string file: one element per category.
void writeSharedFile(const QString &path, std::initializer_list<Text> texts)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<string>\n";
    for (const Text &text : texts) {
        xml += "<" + QByteArray(text.category) + "><item id=\"" + QByteArray(text.id) + "\">"
            + escaped(text.text) + "</item></" + QByteArray(text.category) + ">\n";
    }
    writeFile(path, xml + "</string>\n");
}

} // namespace

void flushDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void AccountTestEnv::SetUp()
{
    flushDeferredDeletes();
    m_topLevelWidgets = static_cast<int>(QApplication::topLevelWidgets().size());
    m_folder = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_folder->isValid());
    const QString root = m_folder->path();
    writeFile(root + QStringLiteral("/Config/Path.ini"),
              "[PATH]\r\nini_ostrel=Config\\ostrel.ini\r\nxml_string=strings.xml\r\n"
              "xml_account=Data\\account.xml\r\nxml_authority=Data\\authority.xml\r\n");
    writeFile(root + QStringLiteral("/Config/ostrel.ini"), "[LANGUAGE]\r\nUSE=en\r\n");
    const QString language = root + QStringLiteral("/Language/en/");
    writeDialogFile(language + QStringLiteral("dlg_account_user.xml"),
                    {{"label", "title_new", "New User"},
                     {"label", "title_modify", "Modify User"},
                     {"label", "id", "User &Id:"},
                     {"label", "name", "User &Name:"},
                     {"label", "desc", "&Description:"},
                     {"label", "pass", "&Password:"},
                     {"label", "confirm", "&Confirm:"},
                     {"label", "ok", "OK"},
                     {"label", "cancel", "Cancel"},
                     {"message", "required_user_id", "Enter a user id."},
                     {"message", "exist_user_id", "A user with this id exists."},
                     {"message", "exist_group_id", "A group with this id exists."},
                     {"message", "error_password_confirm", "The passwords differ."}});
    writeDialogFile(language + QStringLiteral("dlg_account_group.xml"),
                    {{"label", "title_new", "New Group"},
                     {"label", "title_modify", "Modify Group"},
                     {"label", "id", "Group &Id:"},
                     {"label", "desc", "&Description:"},
                     {"label", "member", "&Member..."},
                     {"label", "ok", "OK"},
                     {"label", "cancel", "Cancel"},
                     {"message", "required_group_id", "Enter a group id."},
                     {"message", "exist_group_id", "A group with this id exists."},
                     {"message", "exist_user_id", "A user with this id exists."}});
    writeDialogFile(language + QStringLiteral("dlg_account_manager.xml"),
                    {{"label", "title", "Accounts"},
                     {"label", "info", "Information"},
                     {"label", "info_user", "User information"},
                     {"label", "info_group", "Group information"},
                     {"label", "id", "User &Id:"},
                     {"label", "name", "&Name:"},
                     {"label", "desc", "&Description:"},
                     {"label", "new", "&New..."},
                     {"label", "modify", "&Modify..."},
                     {"label", "delete", "&Delete..."},
                     {"label", "ok", "OK"},
                     {"label", "cancel", "Close"},
                     {"message", "confirm_delete_user", "Delete the user %s?"},
                     {"message", "confirm_delete_group", "Delete the group %s?"}});
    writeDialogFile(language + QStringLiteral("dlg_account_tree.xml"),
                    {{"label", "account", "Accounts"},
                     {"label", "user", "Users"},
                     {"label", "group", "Groups"}});
    writeSharedFile(language + QStringLiteral("strings.xml"),
                    {{"common", "ok", "OK"},
                     {"common", "cancel", "Cancel"},
                     {"common", "info", "Information"},
                     {"common", "desc", "&Description:"},
                     {"common", "member", "&Member..."},
                     {"chooseMember", "accountList", "&Account List:"},
                     {"chooseMember", "selectedAccountList", "&Selected Account List:"}});

    m_previousDirectory = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(root));
    Common::releaseLanguage();
}

void AccountTestEnv::TearDown()
{
    QDir::setCurrent(m_previousDirectory);
    Common::releaseLanguage();
    flushDeferredDeletes();
    EXPECT_EQ(QApplication::topLevelWidgets().size(), m_topLevelWidgets)
        << "a top-level widget outlived the test";
}

QString AccountTestEnv::dataPath(const char *key) const
{
    return Common::getPathEntry(key, true);
}
