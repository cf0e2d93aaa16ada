#include "tour.h"

#include "installation.h"
#include "main_window.h"
#include "remote_setup_site.h"
#include "simulated_input.h"

#include <ostrelhost/reference_host.h>
#include <ostrelini/ini_file.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTreeWidget>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kTickMs = 50;
constexpr int kStepTimeoutMs = 15000;

QWidget *activeModal()
{
    return QApplication::activeModalWidget();
}

// A dialog that was closed while its exec() has not returned yet: the code that waits for its
// result has not run, so a step now would see the state from before.
bool dialogClosing()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](const QWidget *window) {
        return !window->isVisible() && window->testAttribute(Qt::WA_ShowModal)
            && qobject_cast<const QDialog *>(window);
    });
}

template <typename T>
T *child(QWidget *dialog, const char *name)
{
    return dialog ? dialog->findChild<T *>(QLatin1String(name)) : nullptr;
}

// Replaces a field's text as a user would: select all, then type.
void retype(QLineEdit *edit, const QString &text)
{
    if (!edit)
        return;
    edit->setFocus();
    edit->selectAll();
    SimulatedInput::keyClick(edit, Qt::Key_Delete);
    SimulatedInput::keyClicks(edit, text);
}

void clickItem(QTreeWidget *tree, QTreeWidgetItem *item)
{
    if (!tree || !item)
        return;
    tree->scrollToItem(item);
    SimulatedInput::mouseClick(tree->viewport(), Qt::LeftButton, {},
                               tree->visualItemRect(item).center());
}

void clickItem(QTreeWidget *tree, const QString &text)
{
    if (!tree)
        return;
    const QList<QTreeWidgetItem *> found
        = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive, 0);
    clickItem(tree, found.value(0));
}

// Clicks a row of a tree on its label, where a check box or radio row of the option tree toggles.
void clickLabel(QTreeWidget *tree, QTreeWidgetItem *item)
{
    if (!tree || !item)
        return;
    tree->scrollToItem(item);
    const QRect rect = tree->visualItemRect(item);
    SimulatedInput::mouseClick(
        tree->viewport(), Qt::LeftButton, {},
        QPoint(rect.left() + tree->iconSize().width() + 12, rect.center().y()));
}

// Clicks a row of a list view at x from its left edge.
void clickRow(QAbstractItemView *view, int row, int x)
{
    if (!view || !view->model() || row >= view->model()->rowCount())
        return;
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    SimulatedInput::mouseClick(view->viewport(), Qt::LeftButton, {},
                               QPoint(rect.left() + x, rect.center().y()));
}

// Chooses the entry whose data is value with the arrow keys, as a keyboard user would.
void chooseByKeys(QComboBox *combo, int value)
{
    if (!combo)
        return;
    combo->setFocus();
    for (int i = 0; i < combo->count() && combo->currentData().toInt() != value; ++i)
        SimulatedInput::keyClick(combo, Qt::Key_Down);
}

// Ctrl-clicks the rows with these texts.
void selectRows(QAbstractItemView *view, const QStringList &texts)
{
    if (!view)
        return;
    for (const QString &text : texts) {
        const QModelIndexList found = view->model()->match(
            view->model()->index(0, 0), Qt::DisplayRole, text, 1, Qt::MatchExactly);
        if (found.isEmpty())
            continue;
        view->scrollTo(found.first());
        SimulatedInput::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier,
                                   view->visualRect(found.first()).center());
    }
}

} // namespace

Tour::Tour(MainWindow &window, const QString &outDir, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_out(outDir)
{
    m_out.mkpath(QStringLiteral("."));
    connect(&m_timer, &QTimer::timeout, this, &Tour::tick);
}

void Tour::start()
{
    script();
    m_waiting.start();
    m_timer.start(kTickMs);
}

void Tour::atMainWindow(const QString &what, std::function<void()> act)
{
    m_steps.append(
        {what, [] { return activeModal() == nullptr && !dialogClosing(); }, std::move(act)});
}

void Tour::atMainWindow(const QString &what, std::function<bool()> ready, std::function<void()> act)
{
    m_steps.append({what,
                    [ready = std::move(ready)] {
                        return activeModal() == nullptr && !dialogClosing() && ready();
                    },
                    std::move(act)});
}

void Tour::inDialog(const char *className, const QString &what, std::function<void(QWidget *)> act)
{
    const QByteArray name(className);
    m_steps.append({what,
                    [name] {
                        QWidget *modal = activeModal();
                        return modal && name == modal->metaObject()->className()
                            && !dialogClosing();
                    },
                    [act = std::move(act)] { act(activeModal()); }});
}

void Tour::tick()
{
    if (m_steps.isEmpty()) {
        finish();
        return;
    }
    if (!m_steps.first().ready()) {
        if (m_waiting.elapsed() < kStepTimeoutMs)
            return;
        ++m_failures;
        m_index << QStringLiteral("- FAILED: %1 (timed out)").arg(m_steps.first().what);
        qWarning("Tour step timed out: %s", qUtf8Printable(m_steps.first().what));
        // Leave every dialog, so that the modal loops unwind and the client can quit.
        m_steps.clear();
        if (QWidget *modal = activeModal()) {
            snap(modal, QStringLiteral("timed-out"),
                 QStringLiteral("What was open when the tour stopped"));
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
        }
        return;
    }
    const Step step = m_steps.takeFirst();
    step.act();
    m_waiting.restart();
}

void Tour::finish()
{
    m_timer.stop();
    QFile index(m_out.filePath(QStringLiteral("index.md")));
    if (index.open(QIODevice::WriteOnly | QIODevice::Text)) {
        index.write("# Tour of the demo client\n\n");
        index.write(m_index.join(QLatin1Char('\n')).toUtf8());
        index.write("\n");
    }
    emit finished(m_failures);
}

void Tour::snap(QWidget *widget, const QString &name, const QString &caption)
{
    const QString file
        = QStringLiteral("%1-%2.png").arg(++m_shots, 2, 10, QLatin1Char('0')).arg(name);
    widget->grab().save(m_out.filePath(file));
    m_index << QStringLiteral("- `%1`: %2").arg(file, caption);
}

void Tour::later(std::function<void()> action)
{
    QTimer::singleShot(0, qApp, std::move(action));
}

void Tour::clickLater(QAbstractButton *button)
{
    if (button)
        later([button] { SimulatedInput::mouseClick(button, Qt::LeftButton); });
}

void Tour::script()
{
    MainWindow &window = m_window;

    atMainWindow(QStringLiteral("the client's recorders"), [this, &window] {
        window.tabs()->setCurrentIndex(0);
        snap(&window, QStringLiteral("client-recorders"),
             QStringLiteral("The demo client with its recorder list"));
        window.tabs()->setCurrentIndex(1);
        snap(&window, QStringLiteral("client-accounts"),
             QStringLiteral("The demo client's accounts"));
        window.tabs()->setCurrentIndex(0);
    });

    accountScript();
    authorityScript();
    recorderScript();
    optionScript();
    koreanScript();

    // Remote setup of one recorder of each product family.
    for (const auto &[family, label] :
         {std::pair {2, "product family 2"}, std::pair {3, "product family 3"}}) {
        atMainWindow(
            QStringLiteral("remote setup of a recorder of %1").arg(QLatin1String(label)),
            [this, &window, family = family, label = label] {
                QTreeWidget *tree = window.recorderTree();
                for (int row = 0; row < tree->topLevelItemCount(); ++row) {
                    if (tree->topLevelItem(row)->text(3).startsWith(
                            QStringLiteral("kind %1,").arg(family))) {
                        tree->setCurrentItem(tree->topLevelItem(row));
                        break;
                    }
                }
                QString error;
                if (QWidget *setup = window.openSelectedRemoteSetup(&error)) {
                    SimulatedInput::wait(100);
                    snap(setup, QStringLiteral("remote-setup-family%1").arg(family),
                         QStringLiteral("The sample plug-in's remote setup of a recorder of %1")
                             .arg(QLatin1String(label)));
                    setup->close();
                } else {
                    ++m_failures;
                    m_index << QStringLiteral("- FAILED: no remote setup for %1: %2")
                                   .arg(QLatin1String(label), error);
                }
            });
    }

    atMainWindow(QStringLiteral("what changed"), [this, &window] {
        snap(&window, QStringLiteral("client-after"),
             QStringLiteral("The client after the tour, with what each dialog changed"));
        verifyFiles();
    });
}

void Tour::accountScript()
{
    MainWindow &window = m_window;
    atMainWindow(QStringLiteral("open the account manager"),
                 [&window] { later([&window] { window.showAccounts(); }); });
    inDialog("CAccountManagerDlg", QStringLiteral("a new user"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("account-manager"),
             QStringLiteral("The account manager on the sample accounts"));
        auto *tree = child<QTreeWidget>(dialog, "accountTree");
        clickItem(tree, tree->topLevelItem(0)->child(0)); // the user folder: New makes a user
        clickLater(child<QAbstractButton>(dialog, "newButton"));
    });
    inDialog("CAccountUserDlg", QStringLiteral("an id that differs from dpark only in case"),
             [](QWidget *dialog) {
                 retype(child<QLineEdit>(dialog, "idEdit"), QStringLiteral("DPark"));
                 retype(child<QLineEdit>(dialog, "nameEdit"), QStringLiteral("Dana Parker"));
                 retype(child<QLineEdit>(dialog, "descriptionEdit"),
                        QStringLiteral("Patrol officer"));
                 retype(child<QLineEdit>(dialog, "passwordEdit"), QStringLiteral("Cam3ra!"));
                 retype(child<QLineEdit>(dialog, "confirmEdit"), QStringLiteral("Cam3ra!"));
                 clickLater(child<QAbstractButton>(dialog, "okButton"));
             });
    inDialog("CAccountUserDlg", QStringLiteral("a password that does not match"),
             [this](QWidget *dialog) {
                 snap(dialog, QStringLiteral("user-id-refused"),
                      QStringLiteral(
                          "The id DPark is refused: dpark exists, and ids ignore letter case"));
                 retype(child<QLineEdit>(dialog, "idEdit"), QStringLiteral("dparker"));
                 retype(child<QLineEdit>(dialog, "confirmEdit"), QStringLiteral("Cam3ra?"));
                 clickLater(child<QAbstractButton>(dialog, "okButton"));
             });
    inDialog("CAccountUserDlg", QStringLiteral("the matching password"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("user-password-refused"),
             QStringLiteral("The password and its confirmation differ: refused"));
        retype(child<QLineEdit>(dialog, "confirmEdit"), QStringLiteral("Cam3ra!"));
        clickLater(child<QAbstractButton>(dialog, "okButton"));
    });
    inDialog("CAccountManagerDlg", QStringLiteral("a new group"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("user-added"),
             QStringLiteral("The new user dparker in the account manager"));
        auto *tree = child<QTreeWidget>(dialog, "accountTree");
        clickItem(tree, tree->topLevelItem(0)->child(1)); // the group folder: New makes a group
        clickLater(child<QAbstractButton>(dialog, "newButton"));
    });
    inDialog("CAccountGroupDlg", QStringLiteral("the group's members"), [](QWidget *dialog) {
        retype(child<QLineEdit>(dialog, "idEdit"), QStringLiteral("Patrol"));
        retype(child<QLineEdit>(dialog, "descriptionEdit"), QStringLiteral("Mobile patrol team"));
        clickLater(child<QAbstractButton>(dialog, "memberButton"));
    });
    inDialog("CChooseMemberDlg", QStringLiteral("a user and a group as members"),
             [this](QWidget *dialog) {
                 selectRows(child<QAbstractItemView>(dialog, "candidateList"),
                            {QStringLiteral("dparker"), QStringLiteral("Night Shift")});
                 SimulatedInput::mouseClick(child<QAbstractButton>(dialog, "addButton"),
                                            Qt::LeftButton);
                 snap(dialog, QStringLiteral("group-members"),
                      QStringLiteral("The member chooser: the user dparker and the group Night "
                                     "Shift become members"));
                 clickLater(child<QAbstractButton>(dialog, "okButton"));
             });
    inDialog("CAccountGroupDlg", QStringLiteral("the new group"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("group-dialog"),
             QStringLiteral("The new group Patrol with its members"));
        clickLater(child<QAbstractButton>(dialog, "okButton"));
    });
    inDialog("CAccountManagerDlg", QStringLiteral("delete a user who belongs to a group"),
             [this](QWidget *dialog) {
                 clickItem(child<QTreeWidget>(dialog, "accountTree"), QStringLiteral("lnguyen"));
                 snap(dialog, QStringLiteral("user-selected"),
                      QStringLiteral("lnguyen, a member of Operators, is selected"));
                 clickLater(child<QAbstractButton>(dialog, "deleteButton"));
             });
    inDialog("QMessageBox", QStringLiteral("confirm the deletion"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("confirm-delete"),
             QStringLiteral("The account manager asks before it deletes"));
        if (auto *box = qobject_cast<QMessageBox *>(dialog))
            clickLater(box->button(QMessageBox::Yes));
    });
    inDialog("CAccountManagerDlg", QStringLiteral("commit"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("before-commit"),
             QStringLiteral("The changes, before OK commits them"));
        clickLater(child<QAbstractButton>(dialog, "okButton"));
    });
    atMainWindow(QStringLiteral("the committed accounts"), [this, &window] {
        window.tabs()->setCurrentIndex(1);
        snap(&window, QStringLiteral("client-accounts-after"),
             QStringLiteral("The client after the commit: dparker and Patrol added, lnguyen gone"));
    });
}

void Tour::authorityScript()
{
    MainWindow &window = m_window;
    atMainWindow(QStringLiteral("open the authority manager"),
                 [&window] { later([&window] { window.showAuthority(); }); });
    inDialog("CAuthorityDlg", QStringLiteral("an authority item"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("authority-manager"), QStringLiteral("The authority manager"));
        clickItem(child<QTreeWidget>(dialog, "authorityTree"), QStringLiteral("Export video"));
        snap(dialog, QStringLiteral("authority-item"), QStringLiteral("Who may export video"));
        clickLater(child<QAbstractButton>(dialog, "memberButton"));
    });
    inDialog(
        "CChooseMemberDlg", QStringLiteral("grant it to the new group"), [this](QWidget *dialog) {
            selectRows(child<QAbstractItemView>(dialog, "candidateList"),
                       {QStringLiteral("Patrol")});
            SimulatedInput::mouseClick(child<QAbstractButton>(dialog, "addButton"), Qt::LeftButton);
            snap(dialog, QStringLiteral("authority-members"),
                 QStringLiteral("The group Patrol may now export video"));
            clickLater(child<QAbstractButton>(dialog, "okButton"));
        });
    inDialog("CAuthorityDlg", QStringLiteral("commit"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("authority-granted"),
             QStringLiteral("The item with its new holder, before OK"));
        clickLater(child<QAbstractButton>(dialog, "okButton"));
    });
    atMainWindow(QStringLiteral("the committed authority"), [this, &window] {
        window.tabs()->setCurrentIndex(2);
        snap(&window, QStringLiteral("client-authority-after"),
             QStringLiteral("The client's authority after the commit"));
    });
}

void Tour::recorderScript()
{
    MainWindow &window = m_window;
    atMainWindow(QStringLiteral("open the recorder manager"),
                 [&window] { later([&window] { window.showRecorders(); }); });
    inDialog("CServerListDlg", QStringLiteral("a recorder's information"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("recorder-manager"),
             QStringLiteral("The recorder manager on the sample recorders"));
        clickItem(child<QTreeWidget>(dialog, "serverTree"), QStringLiteral("HQ Lobby"));
        snap(dialog, QStringLiteral("recorder-information"),
             QStringLiteral("HQ Lobby: product name, firmware version and additional "
                            "information"));
        // The box left of a category's caption collapses it, and again expands it.
        auto *info = child<QAbstractItemView>(dialog, "infoList");
        clickRow(info, 0, 8);
        snap(dialog, QStringLiteral("recorder-information-collapsed"),
             QStringLiteral("The recorder category collapsed"));
        clickRow(info, 0, 8);
        clickLater(child<QAbstractButton>(dialog, "newButton"));
    });
    inDialog("CServerSetupDlg", QStringLiteral("a new recorder of product kind 2, by a taken name"),
             [](QWidget *dialog) {
                 chooseByKeys(child<QComboBox>(dialog, "productCombo"), 2);
                 retype(child<QLineEdit>(dialog, "nameEdit"), QStringLiteral("HQ Lobby"));
                 retype(child<QLineEdit>(dialog, "addressEdit"), QStringLiteral("10.20.9.50"));
                 clickLater(child<QAbstractButton>(dialog, "okButton"));
             });
    inDialog("QMessageBox", QStringLiteral("the name is taken"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("recorder-name-refused"),
             QStringLiteral("A recorder named HQ Lobby exists: refused"));
        if (auto *box = qobject_cast<QMessageBox *>(dialog))
            clickLater(box->button(QMessageBox::Ok));
    });
    inDialog("CServerSetupDlg", QStringLiteral("a new name, HQ Lobby's address and port"),
             [](QWidget *dialog) {
                 retype(child<QLineEdit>(dialog, "nameEdit"), QStringLiteral("Harbour Gate"));
                 retype(child<QLineEdit>(dialog, "addressEdit"), QStringLiteral("10.20.1.11"));
                 clickLater(child<QAbstractButton>(dialog, "okButton"));
             });
    inDialog("QMessageBox", QStringLiteral("the address and port are taken"),
             [this](QWidget *dialog) {
                 snap(dialog, QStringLiteral("recorder-address-refused"),
                      QStringLiteral("HQ Lobby already answers at 10.20.1.11, port 7011: "
                                     "refused"));
                 if (auto *box = qobject_cast<QMessageBox *>(dialog))
                     clickLater(box->button(QMessageBox::Ok));
             });
    inDialog("CServerSetupDlg", QStringLiteral("an address of its own and a phone number"),
             [this](QWidget *dialog) {
                 retype(child<QLineEdit>(dialog, "addressEdit"), QStringLiteral("10.20.9.50"));
                 // The value cell of the "Phone" row, edited in place.
                 auto *rows = child<QTreeWidget>(dialog, "additionalInfoList");
                 const QList<QTreeWidgetItem *> phone
                     = rows->findItems(QStringLiteral("Phone"), Qt::MatchExactly, 0);
                 if (!phone.isEmpty()) {
                     const QRect row = rows->visualItemRect(phone.first());
                     SimulatedInput::mouseClick(rows->viewport(), Qt::LeftButton, {},
                                                QPoint(rows->columnWidth(0) + 8, row.center().y()));
                     SimulatedInput::keyClicks(child<QLineEdit>(dialog, "cellEditor"),
                                               QStringLiteral("+1 555 0199"));
                 }
                 snap(dialog, QStringLiteral("recorder-setup"),
                      QStringLiteral("A recorder of product kind 2: port 7011 and login vexil "
                                     "filled in, the phone number typed into its cell"));
                 clickLater(child<QAbstractButton>(dialog, "okButton"));
             });
    inDialog("CServerListDlg", QStringLiteral("rename a recorder"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("recorder-added"),
             QStringLiteral("Harbour Gate in the recorder manager"));
        clickItem(child<QTreeWidget>(dialog, "serverTree"), QStringLiteral("Gate House"));
        clickLater(child<QAbstractButton>(dialog, "modifyButton"));
    });
    inDialog("CServerSetupDlg", QStringLiteral("the new name"), [](QWidget *dialog) {
        retype(child<QLineEdit>(dialog, "nameEdit"), QStringLiteral("Gate House East"));
        clickLater(child<QAbstractButton>(dialog, "okButton"));
    });
    inDialog("CServerListDlg", QStringLiteral("delete a recorder"), [](QWidget *dialog) {
        clickItem(child<QTreeWidget>(dialog, "serverTree"), QStringLiteral("Training Center"));
        clickLater(child<QAbstractButton>(dialog, "deleteButton"));
    });
    inDialog("QMessageBox", QStringLiteral("confirm the deletion"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("recorder-delete"),
             QStringLiteral("The recorder manager asks before it deletes"));
        if (auto *box = qobject_cast<QMessageBox *>(dialog))
            clickLater(box->button(QMessageBox::Yes));
    });
    inDialog("CServerListDlg", QStringLiteral("commit"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("recorder-before-commit"),
             QStringLiteral("The changes, before OK commits them"));
        clickLater(child<QAbstractButton>(dialog, "okButton"));
    });
    inDialog("QMessageBox", QStringLiteral("disconnect the connected recorders"),
             [this](QWidget *dialog) {
                 snap(dialog, QStringLiteral("recorder-disconnect"),
                      QStringLiteral("Recorders are connected: storing the list disconnects "
                                     "them"));
                 if (auto *box = qobject_cast<QMessageBox *>(dialog))
                     clickLater(box->button(QMessageBox::Yes));
             });
    atMainWindow(QStringLiteral("the committed recorders"), [this, &window] {
        window.tabs()->setCurrentIndex(0);
        snap(&window, QStringLiteral("client-recorders-after"),
             QStringLiteral("The client reloaded its recorders after the commit"));
    });
}

void Tour::optionScript()
{
    MainWindow &window = m_window;
    // The General page's rows: the alarm group (auto-connect, polling time), the seven languages,
    // the two DirectX versions.
    const auto row = [](QWidget *dialog, int group, int index) -> QTreeWidgetItem * {
        auto *tree = child<QTreeWidget>(dialog, "optionTree");
        QTreeWidgetItem *top = tree ? tree->topLevelItem(group) : nullptr;
        return top ? top->child(index) : nullptr;
    };
    const auto openPollingTime = [row](QWidget *dialog) {
        clickItem(child<QTreeWidget>(dialog, "optionTree"), row(dialog, 0, 1));
        return child<QLineEdit>(dialog, "optionEditor");
    };

    atMainWindow(QStringLiteral("open the option sheet"),
                 [&window] { later([&window] { window.showOptions(); }); });
    inDialog("CTreePropSheet", QStringLiteral("the General page"), [=, this](QWidget *dialog) {
        auto *tree = child<QTreeWidget>(dialog, "optionTree");
        bool expanded = tree && tree->topLevelItemCount() == 3;
        for (int i = 0; expanded && i < tree->topLevelItemCount(); ++i)
            expanded = tree->topLevelItem(i)->isExpanded();
        check(expanded, QStringLiteral("the General page shows its three groups expanded"));
        snap(dialog, QStringLiteral("option-sheet"),
             QStringLiteral("The option sheet: the General page with its groups expanded"));
        // Far above the host's maximum; digits only.
        QLineEdit *edit = openPollingTime(dialog);
        check(edit != nullptr, QStringLiteral("the polling time opens its editor"));
        retype(edit, QStringLiteral("999"));
        snap(dialog, QStringLiteral("option-polling-time"),
             QStringLiteral("The polling time's editor, with a number above the host's maximum"));
        clickLabel(tree, row(dialog, 1, 6)); // German
        clickLabel(tree, row(dialog, 2, 1)); // DirectX 7
        snap(dialog, QStringLiteral("option-choices"),
             QStringLiteral("German and DirectX 7 chosen; the polling time held at the maximum"));
        clickLater(child<QAbstractButton>(dialog, "okButton"));
    });
    // The client switches its language when it hears "Save", after the module has returned.
    atMainWindow(
        QStringLiteral("the stored options"),
        [&window] { return window.language() == QLatin1String("de"); },
        [this, &window] {
            ostrelhost::FileOptionProvider stored;
            const QString file = window.host().path(ostrelhost::DataFile::Option);
            OptionRecord *options = nullptr;
            check(stored.loadFile(qUtf8Printable(file)) && stored.getOptions(&options),
                  QStringLiteral("option.xml loads"));
            check(options && std::strcmp(options->language, "de") == 0,
                  QStringLiteral("option.xml holds the language de"));
            check(options && options->alarmServicePollingTime == options->alarmServicePollingMax,
                  QStringLiteral("option.xml holds the polling time held at the maximum"));
            const QString ini = Installation::mainIni(window.host().installDir());
            check(ostrelini::IniFile::readInt(ini, u"DirectX", u"Version", 0) == 7,
                  QStringLiteral("ostrel.ini holds DirectX version 7"));
            check(options
                      && window.pollingTime()->text().endsWith(
                          QString::number(options->alarmServicePollingTime)),
                  QStringLiteral("the client shows the polling time"));
            window.tabs()->setCurrentIndex(3);
            snap(&window, QStringLiteral("client-options-after"),
                 QStringLiteral("The client after the option sheet: German, DirectX 7, the "
                                "polling time in the status bar"));
            window.tabs()->setCurrentIndex(0);
            later([&window] { window.showOptions(); });
        });
    inDialog("CTreePropSheet", QStringLiteral("the General page in German"),
             [=, this](QWidget *dialog) {
                 snap(dialog, QStringLiteral("option-sheet-de"),
                      QStringLiteral("The option sheet in German"));
                 check(openPollingTime(dialog) != nullptr,
                       QStringLiteral("the polling time opens its editor in German"));
                 snap(dialog, QStringLiteral("option-polling-time-de"),
                      QStringLiteral("The polling time's editor in German"));
                 clickLater(child<QAbstractButton>(dialog, "cancelButton"));
             });
}

void Tour::koreanScript()
{
    MainWindow &window = m_window;
    atMainWindow(QStringLiteral("the account manager in Korean"), [this, &window] {
        check(window.setLanguage(QStringLiteral("ko")),
              QStringLiteral("switch the module to Korean"));
        later([&window] { window.showAccounts(); });
    });
    inDialog("CAccountManagerDlg", QStringLiteral("Korean texts"), [this](QWidget *dialog) {
        clickItem(child<QTreeWidget>(dialog, "accountTree"), QStringLiteral("Patrol"));
        snap(dialog, QStringLiteral("account-manager-ko"),
             QStringLiteral("The account manager in Korean"));
        clickLater(child<QAbstractButton>(dialog, "closeButton"));
    });
    atMainWindow(QStringLiteral("the recorder manager in Korean"),
                 [&window] { later([&window] { window.showRecorders(); }); });
    inDialog("CServerListDlg", QStringLiteral("Korean texts"), [this](QWidget *dialog) {
        clickItem(child<QTreeWidget>(dialog, "serverTree"), QStringLiteral("Harbour Gate"));
        snap(dialog, QStringLiteral("recorder-manager-ko"),
             QStringLiteral("The recorder manager in Korean"));
        clickLater(child<QAbstractButton>(dialog, "modifyButton"));
    });
    inDialog("CServerSetupDlg", QStringLiteral("Korean texts"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("recorder-setup-ko"),
             QStringLiteral("The recorder setup dialog in Korean"));
        clickLater(child<QAbstractButton>(dialog, "cancelButton"));
    });
    inDialog("CServerListDlg", QStringLiteral("close"),
             [](QWidget *dialog) { clickLater(child<QAbstractButton>(dialog, "cancelButton")); });
    atMainWindow(QStringLiteral("back to English"), [this, &window] {
        check(window.setLanguage(QStringLiteral("en")),
              QStringLiteral("switch the module back to English"));
    });
}

void Tour::check(bool condition, const QString &what)
{
    if (condition)
        return;
    ++m_failures;
    m_index << QStringLiteral("- FAILED: %1").arg(what);
    qWarning("Tour check failed: %s", qUtf8Printable(what));
}

void Tour::verifyFiles()
{
    ostrelhost::ReferenceHost files(m_window.host().installDir());
    check(files.loadAll(), QStringLiteral("the data files load"));
    const auto members = [](const PointerSeq<MemberRecord> &list) {
        QStringList ids;
        for (std::size_t i = 0; i < seqSize(list); ++i)
            ids << QString::fromUtf8(seqAt(list, i)->id);
        return ids;
    };
    const auto hasUser = [&files](const char *id) {
        UserRecord *user = nullptr;
        for (std::int32_t i = 0; i < files.accounts().getUserCount(); ++i)
            if (files.accounts().getUser(i, &user) && std::strcmp(user->id, id) == 0)
                return true;
        return false;
    };
    const auto groupMembers = [&](const char *id) {
        GroupRecord *group = nullptr;
        for (std::int32_t i = 0; i < files.accounts().getGroupCount(); ++i)
            if (files.accounts().getGroup(i, &group) && std::strcmp(group->id, id) == 0)
                return members(group->members);
        return QStringList {QStringLiteral("<no such group>")};
    };
    check(hasUser("dparker"), QStringLiteral("account.xml holds the new user dparker"));
    check(!hasUser("lnguyen"), QStringLiteral("account.xml no longer holds lnguyen"));
    check(!groupMembers("Operators").contains(QStringLiteral("lnguyen")),
          QStringLiteral("lnguyen left the group Operators"));
    check(groupMembers("Patrol")
              == QStringList({QStringLiteral("dparker"), QStringLiteral("Night Shift")}),
          QStringLiteral("the group Patrol holds dparker and Night Shift"));

    QStringList exporters;
    IAuthorityProvider &authority = files.authority();
    for (std::int32_t c = 0; c < authority.getCategoryCount(); ++c) {
        AuthorityItem *item = nullptr;
        for (std::int32_t i = 0; i < authority.getAuthorityCount(c); ++i)
            if (authority.getAuthority(c, i, &item) && std::strcmp(item->name, "Export video") == 0)
                exporters = members(item->members);
    }
    check(exporters.contains(QStringLiteral("Patrol")),
          QStringLiteral("authority.xml lets Patrol export video"));

    IServerListProvider &recorders = files.serverList();
    ServerRecord *harbour = nullptr;
    ServerRecord *found = nullptr;
    check(recorders.findServer("Harbour Gate", &harbour) && harbour->port == 7011
              && std::strcmp(harbour->loginId, "vexil") == 0 && harbour->productKind == 2
              && std::strcmp(harbour->address, "10.20.9.50") == 0,
          QStringLiteral("serverinfo.xml holds Harbour Gate, kind 2, at 10.20.9.50:7011 with "
                         "login vexil"));
    bool phone = false;
    for (std::size_t i = 0; harbour && i < seqSize(harbour->additionalInfo); ++i) {
        const AdditionalInfo *info = seqAt(harbour->additionalInfo, i);
        phone = phone
            || (std::strcmp(info->name, "Phone") == 0
                && std::strcmp(info->value, "+1 555 0199") == 0);
    }
    check(phone, QStringLiteral("Harbour Gate's phone number is stored"));
    check(recorders.findServer("Gate House East", &found)
              && !recorders.findServer("Gate House", &found),
          QStringLiteral("Gate House is renamed Gate House East"));
    check(!recorders.findServer("Training Center", &found),
          QStringLiteral("Training Center is deleted"));
}
