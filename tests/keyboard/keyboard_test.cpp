// Every dialog of the module, in every installation language, used by keyboard alone and heard
// through a screen reader. The checks walk the widget tree, so a control added later is checked
// without a word here: every focusable control is named, Tab reaches each one and comes back,
// no two mnemonics collide, Escape closes, Return presses the default button once it is enabled.
// Dialogs that change with the selection of a tree are checked in each state the tree offers.
#include "account/account_group_dlg.h"
#include "account/account_manager_dlg.h"
#include "account/account_user_dlg.h"
#include "account/authority_dlg.h"
#include "account/choose_member_dlg.h"
#include "common/language.h"
#include "controls/control_factory.h"
#include "options/option_sheet.h"
#include "server/server_list_dlg.h"
#include "server/server_setup_dlg.h"
#include "support/dialog_test_util.h"
#include "support/temp_install.h"

#include <ostrel/languages.h>
#include <ostrelhost/reference_host.h>

#include <QAccessible>
#include <QDir>
#include <QGroupBox>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>

#include <algorithm>
#include <map>

namespace {

using setupmgr::withoutMnemonic;

const QString kInstallDir = QStringLiteral(OSTREL_INSTALL_DIR);

using Host = ostrelhost::ReferenceHost;

struct DialogCase
{
    const char *name;
    // Runs the dialog modally over the host's data.
    std::function<void(Host &)> run;
};

template <typename Dialog>
void runAccountEdit(Host &host)
{
    Dialog dialog;
    dialog.SetProvider(&host.accounts(), nullptr);
    dialog.exec();
}

const DialogCase kDialogs[] = {
    {"AccountManager",
     [](Host &host) {
         CAccountManagerDlg dialog;
         dialog.SetProvider(&host.accounts());
         dialog.exec();
     }},
    {"User", runAccountEdit<CAccountUserDlg>},
    {"Group", runAccountEdit<CAccountGroupDlg>},
    {"MemberChooser",
     [](Host &host) {
         PointerSeq<MemberRecord> members {};
         CChooseMemberDlg dialog;
         dialog.SetSources(&host.accounts(), &members);
         dialog.exec();
     }},
    {"AuthorityManager",
     [](Host &host) {
         CAuthorityDlg dialog;
         dialog.SetProvider(&host.authority());
         dialog.SetAccountProvider(&host.accounts());
         dialog.exec();
     }},
    {"RecorderManager",
     [](Host &host) {
         CServerListDlg dialog;
         dialog.SetProvider(&host.serverList());
         dialog.exec();
     }},
    {"RecorderSetup",
     [](Host &host) {
         CServerSetupDlg dialog(&host.serverList(), 0);
         dialog.exec();
     }},
    {"OptionSheet", [](Host &host) { setupmgr::showOptionSheet(&host.options()); }},
};

QString describe(const QObject *object)
{
    return object->objectName().isEmpty() ? QString::fromLatin1(object->metaObject()->className())
                                          : object->objectName();
}

QString accessibleName(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : QString();
}

QList<QWidget *> focusableControls(QDialog *dialog)
{
    QList<QWidget *> controls;
    for (QWidget *widget : dialog->findChildren<QWidget *>()) {
        if (widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)
            && !widget->focusProxy())
            controls << widget;
    }
    return controls;
}

QLabel *buddyLabel(QDialog *dialog, const QWidget *control)
{
    for (QLabel *label : dialog->findChildren<QLabel *>()) {
        if (label->buddy() == control && label->isVisible())
            return label;
    }
    return nullptr;
}

// Every text of the language's files, without mnemonics.
QSet<QString> languageTexts(const QString &folder)
{
    static const QRegularExpression item(QStringLiteral("<item id=\"[^\"]*\">([^<]*)</item>"));
    QSet<QString> texts;
    for (const QFileInfo &file : QDir(folder).entryInfoList({QStringLiteral("*.xml")})) {
        QFile in(file.filePath());
        if (!in.open(QIODevice::ReadOnly))
            continue;
        const QString xml = QString::fromUtf8(in.readAll());
        for (const QRegularExpressionMatch &match : item.globalMatch(xml))
            texts << withoutMnemonic(
                match.captured(1).replace(QLatin1String("&amp;"), QLatin1String("&")));
    }
    return texts;
}

// What a widget of the dialog offers as a mnemonic, with the text it comes from.
std::optional<std::pair<QString, QString>> mnemonicOf(QWidget *widget)
{
    QString text;
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        text = button->text();
    else if (auto *label = qobject_cast<QLabel *>(widget); label && label->buddy())
        text = label->text();
    else if (auto *group = qobject_cast<QGroupBox *>(widget))
        text = group->title();
    const QKeySequence key = QKeySequence::mnemonic(text);
    if (key.isEmpty() || !widget->isVisible())
        return std::nullopt;
    return std::make_pair(key.toString().toUpper(), text);
}

// One look at an open dialog: every problem found, one line each.
class Inspection
{
public:
    Inspection(QDialog *dialog, const QSet<QString> &languageTexts)
        : m_dialog(dialog)
        , m_texts(languageTexts)
    { }

    QStringList problems;

    void inAllStates()
    {
        // The focus opens on the first field; a dialog with fields never opens on a button.
        const QList<QWidget *> controls = focusableControls(m_dialog);
        QWidget *focus = QApplication::focusWidget();
        if (qobject_cast<QPushButton *>(focus)
            && std::any_of(controls.begin(), controls.end(),
                           [](QWidget *c) { return !qobject_cast<QPushButton *>(c); }))
            problems << QStringLiteral("opens with the focus on ") + describe(focus);
        checkState(QStringLiteral("as opened"));
        for (QTreeWidget *tree : m_dialog->findChildren<QTreeWidget *>()) {
            if (!tree->isVisible())
                continue;
            for (QTreeWidgetItemIterator it(tree); *it; ++it) {
                // The first rows of each level show every kind a tree holds.
                if ((*it)->parent() && (*it)->parent()->indexOfChild(*it) > 2)
                    continue;
                tree->setCurrentItem(*it);
                checkState(describe(tree) + QStringLiteral(" at \"") + (*it)->text(0) + u'"');
            }
        }
    }

private:
    void checkState(const QString &state)
    {
        m_state = state;
        const QList<QWidget *> controls = focusableControls(m_dialog);
        for (QWidget *control : controls)
            checkName(control);
        checkMnemonics();
        walkTab(controls);
    }

    void report(const QString &problem) { problems << m_state + QStringLiteral(": ") + problem; }

    void checkName(QWidget *control)
    {
        const QString name = accessibleName(control);
        if (name.trimmed().isEmpty())
            report(describe(control) + QStringLiteral(" has no accessible name"));
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
        for (int i = 0; iface && i < iface->childCount(); ++i) {
            QAccessibleInterface *child = iface->child(i);
            auto *widget = child ? qobject_cast<QWidget *>(child->object()) : nullptr;
            // A drop-down's list is a window of its own, named by its items.
            if (widget && widget->window() == m_dialog && child->text(QAccessible::Name).isEmpty())
                report(describe(control) + QStringLiteral(" has an unnamed accessible child ")
                       + describe(widget));
        }
        // Item views take no name from their label; theirs must come from the language.
        if (!qobject_cast<QAbstractItemView *>(control) || name.isEmpty())
            return;
        const QLabel *label = buddyLabel(m_dialog, control);
        if (label && name != withoutMnemonic(label->text()))
            report(describe(control) + QStringLiteral(" is named \"") + name
                   + QStringLiteral("\", its label reads \"") + label->text() + u'"');
        if (!m_texts.contains(name))
            report(describe(control) + QStringLiteral(" is named \"") + name
                   + QStringLiteral("\", a text not of the language"));
    }

    void checkMnemonics()
    {
        std::map<QString, QString> taken;
        for (QWidget *widget : m_dialog->findChildren<QWidget *>()) {
            const auto mnemonic = mnemonicOf(widget);
            if (!mnemonic)
                continue;
            const auto [it, added] = taken.emplace(mnemonic->first, mnemonic->second);
            if (!added)
                report(QStringLiteral("mnemonic %1 of \"%2\" and \"%3\"")
                           .arg(mnemonic->first, it->second, mnemonic->second));
        }
    }

    // The control that owns the focus widget: the widget itself or a control holding it.
    static QWidget *owner(QWidget *focus, const QList<QWidget *> &controls)
    {
        for (QWidget *widget = focus; widget; widget = widget->parentWidget()) {
            if (controls.contains(widget))
                return widget;
        }
        return focus;
    }

    void checkFocusChild(QWidget *control)
    {
        auto *view = qobject_cast<QAbstractItemView *>(control);
        if (!view || !view->currentIndex().isValid())
            return;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(view);
        QAccessibleInterface *focused = iface ? iface->focusChild() : nullptr;
        if (!focused || focused == iface)
            report(describe(view) + QStringLiteral(" tells no current row as its focus child"));
    }

    // Tab from the focus round every control to where it started.
    void walkTab(const QList<QWidget *> &controls)
    {
        QWidget *start = owner(QApplication::focusWidget(), controls);
        if (!start) {
            report(QStringLiteral("nothing has the focus"));
            return;
        }
        QList<QWidget *> visited {start};
        QStringList path {describe(start)};
        for (qsizetype presses = 0; presses <= 2 * controls.size() + 1; ++presses) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *now = owner(QApplication::focusWidget(), controls);
            if (!now)
                break;
            checkFocusChild(now);
            path << describe(now);
            if (now == start)
                break;
            visited << now;
        }
        if (path.size() < 2 || path.constLast() != describe(start))
            report(QStringLiteral("Tab never comes back: ") + path.join(QStringLiteral(" > ")));
        for (QWidget *control : controls) {
            if (!visited.contains(control))
                report(QStringLiteral("Tab never reaches ") + describe(control));
        }
    }

    QDialog *m_dialog;
    const QSet<QString> &m_texts;
    QString m_state;
};

std::string languageName(const ::testing::TestParamInfo<std::tuple<int, int>> &info)
{
    const auto [dialog, language] = info.param;
    return std::string(kDialogs[dialog].name) + '_' + ostrel::kInstallationLanguages[language].code;
}

class KeyboardTest : public ::testing::TestWithParam<std::tuple<int, int>>
{
protected:
    void SetUp() override { install.copyFrom(kInstallDir); }
    void TearDown() override { Common::releaseLanguage(); }

    const DialogCase &dialogCase() const { return kDialogs[std::get<0>(GetParam())]; }
    const char *language() const
    {
        return ostrel::kInstallationLanguages[std::get<1>(GetParam())].code;
    }

    // Opens the dialog in the language, lets action look at it, and closes it when the action
    // did not; false when no dialog opened.
    bool during(const char *code, const std::function<void(QDialog *)> &action)
    {
        install.write(QStringLiteral("Config/ostrel.ini"),
                      QByteArray("[LANGUAGE]\r\nUSE=") + code + "\r\n");
        Common::releaseLanguage();
        Host host(install.path());
        host.loadAll();
        MessageBoxAnswerer answerer;
        return duringStep<QDialog>(
            [&action](QDialog *dialog) {
                QApplication::setActiveWindow(dialog);
                action(dialog);
            },
            [this, &host] { dialogCase().run(host); });
    }

    TempInstall install;
};

TEST_P(KeyboardTest, EveryControlIsNamedReachedByTabAndHasItsOwnMnemonic)
{
    const QSet<QString> texts
        = languageTexts(install.path() + QStringLiteral("/Language/") + QLatin1String(language()));
    QStringList problems;
    bool closed = false;
    ASSERT_TRUE(during(language(), [&](QDialog *dialog) {
        Inspection inspection(dialog, texts);
        inspection.inAllStates();
        problems = inspection.problems;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        closed = !dialog->isVisible();
    }));
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
    EXPECT_TRUE(closed) << "Escape left the dialog open";
}

TEST_P(KeyboardTest, ReturnPressesTheDefaultButtonOnceItIsEnabled)
{
    int clicks = -1;
    bool stayedWhileDisabled = true;
    ASSERT_TRUE(during(language(), [&](QDialog *dialog) {
        QPushButton *ok = named<QPushButton>(dialog, "okButton");
        if (!ok || !ok->isDefault())
            return;
        QSignalSpy clicked(ok, &QPushButton::clicked);
        // Sent to the dialog: a focused control that keeps Return for itself (the page tree, an
        // open cell editor) is no case here.
        if (!ok->isEnabled()) {
            QTest::keyClick(dialog, Qt::Key_Return);
            stayedWhileDisabled = dialog->isVisible() && clicked.isEmpty();
            ok->setEnabled(true); // as the first change does
        }
        QTest::keyClick(dialog, Qt::Key_Return);
        clicks = int(clicked.size());
    }));
    EXPECT_EQ(clicks, 1) << "no default OK button, or Return did not press it";
    EXPECT_TRUE(stayedWhileDisabled) << "Return acted while OK was disabled";
}

INSTANTIATE_TEST_SUITE_P(
    AllDialogs, KeyboardTest,
    ::testing::Combine(::testing::Range(0, int(std::size(kDialogs))),
                       ::testing::Range(0, int(std::size(ostrel::kInstallationLanguages)))),
    languageName);

} // namespace
