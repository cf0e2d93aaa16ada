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
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>

#include <algorithm>
#include <map>

namespace {

using setupmgr::withoutMnemonic;
using Host = ostrelhost::ReferenceHost;

// Runs the dialog modally, once setUp has handed it the host's data.
template <typename Dialog, typename SetUp>
std::function<void(Host &)> run(SetUp setUp)
{
    return [setUp](Host &host) {
        Dialog dialog;
        setUp(dialog, host);
        dialog.exec();
    };
}

const std::pair<const char *, std::function<void(Host &)>> kDialogs[] = {
    {"AccountManager", run<CAccountManagerDlg>([](auto &dialog, Host &host) {
         dialog.SetProvider(&host.accounts());
     })},
    {"User",
     run<CAccountUserDlg>([](auto &d, Host &host) { d.SetProvider(&host.accounts(), nullptr); })},
    {"Group",
     run<CAccountGroupDlg>([](auto &d, Host &host) { d.SetProvider(&host.accounts(), nullptr); })},
    {"MemberChooser", run<CChooseMemberDlg>([](auto &dialog, Host &host) {
         static PointerSeq<MemberRecord> none {}; // the chooser opens empty and stores nothing
         dialog.SetSources(&host.accounts(), &none);
     })},
    {"AuthorityManager", run<CAuthorityDlg>([](auto &dialog, Host &host) {
         dialog.SetProvider(&host.authority());
         dialog.SetAccountProvider(&host.accounts());
     })},
    {"RecorderManager",
     run<CServerListDlg>([](auto &dialog, Host &host) { dialog.SetProvider(&host.serverList()); })},
    {"RecorderSetup", [](Host &host) { CServerSetupDlg(&host.serverList(), 0).exec(); }},
    {"OptionSheet", [](Host &host) { setupmgr::showOptionSheet(&host.options()); }},
};

QString describe(const QObject *object)
{
    return object->objectName().isEmpty() ? QString::fromLatin1(object->metaObject()->className())
                                          : object->objectName();
}

QList<QWidget *> focusableControls(QDialog *dialog)
{
    QList<QWidget *> controls = dialog->findChildren<QWidget *>();
    controls.removeIf([](QWidget *widget) {
        return !widget->isVisible() || !widget->isEnabled()
            || !(widget->focusPolicy() & Qt::TabFocus) || widget->focusProxy();
    });
    return controls;
}

// Every text of the language's files, without mnemonics.
QSet<QString> languageTexts(const QString &folder)
{
    static const QRegularExpression item(QStringLiteral("<item id=\"[^\"]*\">([^<]*)</item>"));
    QSet<QString> texts;
    for (const QFileInfo &file : QDir(folder).entryInfoList({QStringLiteral("*.xml")})) {
        QFile in(file.filePath());
        const QString xml = in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : "";
        for (const QRegularExpressionMatch &match : item.globalMatch(xml))
            texts << withoutMnemonic(
                match.captured(1).replace(QLatin1String("&amp;"), QLatin1String("&")));
    }
    return texts;
}

// The mnemonic a visible button, labelled control or group box offers; empty when none.
QString mnemonicText(QWidget *widget)
{
    QString text;
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        text = button->text();
    else if (auto *label = qobject_cast<QLabel *>(widget); label && label->buddy())
        text = label->text();
    else if (auto *group = qobject_cast<QGroupBox *>(widget))
        text = group->title();
    return widget->isVisible() && !QKeySequence::mnemonic(text).isEmpty() ? text : QString();
}

// One look at an open dialog, in each state its trees offer: every problem found, one line each.
struct Inspection
{
    QDialog *dialog;
    const QSet<QString> &texts;
    QStringList problems {};
    QString state {};

    void inAllStates()
    {
        // The focus opens on the first field; a dialog with fields never opens on a button.
        const QList<QWidget *> controls = focusableControls(dialog);
        QWidget *focus = QApplication::focusWidget();
        if (qobject_cast<QPushButton *>(focus)
            && std::any_of(controls.begin(), controls.end(),
                           [](QWidget *c) { return !qobject_cast<QPushButton *>(c); }))
            problems << QStringLiteral("opens with the focus on ") + describe(focus);
        checkState(QStringLiteral("as opened"));
        for (QTreeWidget *tree : dialog->findChildren<QTreeWidget *>()) {
            for (QTreeWidgetItemIterator it(tree); *it && tree->isVisible(); ++it) {
                // The first rows of each level show every kind a tree holds.
                if ((*it)->parent() && (*it)->parent()->indexOfChild(*it) > 2)
                    continue;
                tree->setCurrentItem(*it);
                checkState(describe(tree) + QStringLiteral(" at \"") + (*it)->text(0) + u'"');
            }
        }
    }

    void checkState(const QString &at)
    {
        state = at;
        const QList<QWidget *> controls = focusableControls(dialog);
        for (QWidget *control : controls)
            checkName(control);
        std::map<QString, QString> taken; // mnemonic key -> the text it came from
        for (QWidget *widget : dialog->findChildren<QWidget *>()) {
            const QString text = mnemonicText(widget);
            const QString key = QKeySequence::mnemonic(text).toString().toUpper();
            if (!text.isEmpty() && !taken.emplace(key, text).second)
                report(
                    QStringLiteral("mnemonic %1 of \"%2\" and \"%3\"").arg(key, taken[key], text));
        }
        walkTab(controls);
    }

    void report(const QString &problem) { problems << state + QStringLiteral(": ") + problem; }

    void checkName(QWidget *control)
    {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
        const QString name = iface ? iface->text(QAccessible::Name) : QString();
        if (name.trimmed().isEmpty())
            report(describe(control) + QStringLiteral(" has no accessible name"));
        for (int i = 0; iface && i < iface->childCount(); ++i) {
            QAccessibleInterface *child = iface->child(i);
            auto *widget = child ? qobject_cast<QWidget *>(child->object()) : nullptr;
            // A drop-down's list is a window of its own, named by its items.
            if (widget && widget->window() == dialog && child->text(QAccessible::Name).isEmpty())
                report(describe(control) + QStringLiteral(" has an unnamed accessible child ")
                       + describe(widget));
        }
        // Item views take no name from their label; theirs must come from the language.
        if (!qobject_cast<QAbstractItemView *>(control) || name.isEmpty())
            return;
        for (QLabel *label : dialog->findChildren<QLabel *>()) {
            if (label->buddy() == control && label->isVisible()
                && name != withoutMnemonic(label->text()))
                report(describe(control) + QStringLiteral(" is named \"") + name
                       + QStringLiteral("\", its label reads \"") + label->text() + u'"');
        }
        if (!texts.contains(name))
            report(describe(control) + QStringLiteral(" is named \"") + name
                   + QStringLiteral("\", a text not of the language"));
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

    // An item view with a current row tells it to a screen reader as its focus child.
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
        if (!start)
            return report(QStringLiteral("nothing has the focus"));
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
};

class KeyboardTest : public ::testing::TestWithParam<std::tuple<int, int>>
{
protected:
    void SetUp() override { install.copyFrom(QStringLiteral(OSTREL_INSTALL_DIR)); }
    void TearDown() override { Common::releaseLanguage(); }

    const char *language() const
    {
        return ostrel::kInstallationLanguages[std::get<1>(GetParam())].code;
    }

    // Opens the dialog in the language and lets action look at it; false when none opened.
    bool during(const std::function<void(QDialog *)> &action)
    {
        install.write(QStringLiteral("Config/ostrel.ini"),
                      QByteArray("[LANGUAGE]\r\nUSE=") + language() + "\r\n");
        Common::releaseLanguage();
        Host host(install.path());
        host.loadAll();
        MessageBoxAnswerer answerer;
        return duringStep<QDialog>(
            [&action](QDialog *dialog) {
                QApplication::setActiveWindow(dialog);
                action(dialog);
            },
            [this, &host] { kDialogs[std::get<0>(GetParam())].second(host); });
    }

    TempInstall install;
};

TEST_P(KeyboardTest, NamedReachedByTabWithOwnMnemonicsClosedByEscapeAndConfirmedByReturn)
{
    const QSet<QString> texts
        = languageTexts(install.path() + QStringLiteral("/Language/") + QLatin1String(language()));
    Inspection inspection {nullptr, texts};
    QStringList &problems = inspection.problems;
    ASSERT_TRUE(during([&](QDialog *dialog) {
        inspection.dialog = dialog;
        inspection.inAllStates();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        if (dialog->isVisible())
            problems << QStringLiteral("Escape left the dialog open");
    }));
    // Return is sent to the dialog: a focused control that keeps Return for itself (the page
    // tree, an open cell editor) is no case here.
    ASSERT_TRUE(during([&](QDialog *dialog) {
        QPushButton *ok = named<QPushButton>(dialog, "okButton");
        if (!ok || !ok->isDefault())
            return void(problems << QStringLiteral("no default OK button"));
        QSignalSpy clicked(ok, &QPushButton::clicked);
        if (!ok->isEnabled()) {
            QTest::keyClick(dialog, Qt::Key_Return);
            if (!dialog->isVisible() || !clicked.isEmpty())
                problems << QStringLiteral("Return acted while OK was disabled");
            ok->setEnabled(true); // as the first change does
        }
        QTest::keyClick(dialog, Qt::Key_Return);
        if (clicked.size() != 1)
            problems << QStringLiteral("Return pressed OK %1 times").arg(clicked.size());
    }));
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    AllDialogs, KeyboardTest,
    ::testing::Combine(::testing::Range(0, int(std::size(kDialogs))),
                       ::testing::Range(0, int(std::size(ostrel::kInstallationLanguages)))),
    [](const auto &info) {
        return std::string(kDialogs[std::get<0>(info.param)].first) + '_'
            + ostrel::kInstallationLanguages[std::get<1>(info.param)].code;
    });

} // namespace
