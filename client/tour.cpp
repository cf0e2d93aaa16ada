#include "tour.h"

#include "data_views.h"
#include "main_window.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTabWidget>
#include <QTreeWidget>

#include <algorithm>

namespace {

constexpr int kTickMs = 50;
constexpr int kStepTimeoutMs = 10000;

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

void later(std::function<void()> action)
{
    QTimer::singleShot(0, qApp, std::move(action));
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Some controls act on keys only (a row's toggle, the cell editor's F2 and Tab).
void sendKey(QWidget *widget, Qt::Key key)
{
    if (!widget)
        return;
    QPointer<QWidget> target(widget);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    if (target)
        QCoreApplication::sendEvent(widget, &release);
}

void type(QLineEdit *edit, const QString &text)
{
    if (!edit)
        return;
    edit->setFocus();
    edit->setText(text);
}

void choose(QTreeWidget *tree, QTreeWidgetItem *item)
{
    if (!tree || !item)
        return;
    tree->scrollToItem(item);
    tree->setCurrentItem(item);
}

// Adds the rows with these texts to the view's selection; false when one is missing.
bool select(QAbstractItemView *view, const QStringList &texts)
{
    bool all = view != nullptr;
    for (const QString &text : texts) {
        const QModelIndexList found = view
            ? view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, text, 1,
                                   Qt::MatchExactly)
            : QModelIndexList();
        all = all && !found.isEmpty();
        if (!found.isEmpty())
            view->selectionModel()->select(found.first(), QItemSelectionModel::Select);
    }
    return all;
}

// Toggles the category of that label through the list's accessible rows, where the list tells
// its rows' labels.
bool toggleCategory(QWidget *list, const QString &label)
{
    QAccessibleInterface *view = list ? QAccessible::queryAccessibleInterface(list) : nullptr;
    for (int i = 0; view && i < view->childCount(); ++i) {
        QAccessibleInterface *row = view->child(i);
        if (row && row->text(QAccessible::Name) == label && row->actionInterface()) {
            row->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
            return true;
        }
    }
    return false;
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
    atMainWindow(
        what, [] { return true; }, std::move(act));
}

void Tour::atMainWindow(const QString &what, std::function<bool()> ready, std::function<void()> act)
{
    m_steps.append({what,
                    [ready = std::move(ready)] {
                        return activeModal() == nullptr && !dialogClosing() && ready();
                    },
                    std::move(act), true});
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

void Tour::open(const QString &what, void (MainWindow::*show)())
{
    MainWindow *window = &m_window;
    atMainWindow(what, [window, show] { later([window, show] { (window->*show)(); }); });
}

void Tour::tick()
{
    if (m_steps.isEmpty()) {
        finish();
        return;
    }
    if (m_steps.first().ready()) {
        const Step step = m_steps.takeFirst();
        step.act();
        m_waiting.restart();
    } else if (m_waiting.elapsed() >= kStepTimeoutMs) {
        skipScene();
    }
}

// The step did not come: the rest of its scene cannot either. Whatever is open is left, so that
// the next scene starts at the main window.
void Tour::skipScene()
{
    ++m_skipped;
    note(QStringLiteral("did not come: %1").arg(m_steps.first().what));
    m_steps.removeFirst();
    while (!m_steps.isEmpty() && !m_steps.first().scene)
        m_steps.removeFirst();
    if (QWidget *modal = activeModal()) {
        snap(modal, QStringLiteral("left"),
             QStringLiteral("What was open when the scene was left"));
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }
    m_waiting.restart();
}

void Tour::finish()
{
    m_timer.stop();
    QFile index(m_out.filePath(QStringLiteral("index.md")));
    if (index.open(QIODevice::WriteOnly | QIODevice::Text)) {
        // A tour on a scaled screen (QT_SCALE_FACTOR=2) pictures every step at that scale.
        const qreal scale = qApp->devicePixelRatio();
        index.write(scale == 1.0 ? QByteArray("# Tour of the demo client\n\n")
                                 : "# Tour of the demo client at scale " + QByteArray::number(scale)
                            + "\n\n");
        index.write(m_index.join(QLatin1Char('\n')).toUtf8());
        index.write("\n");
    }
    emit finished(m_skipped);
}

template <typename T>
T *Tour::find(QWidget *dialog, const char *name)
{
    T *found = dialog ? dialog->findChild<T *>(QLatin1String(name)) : nullptr;
    if (!found)
        note(QStringLiteral("no %1 in %2")
                 .arg(QLatin1String(name),
                      QLatin1String(dialog ? dialog->metaObject()->className() : "no dialog")));
    return found;
}

QTreeWidgetItem *Tour::row(QTreeWidget *tree, const QString &text, bool prefix, int column)
{
    const Qt::MatchFlags how
        = (prefix ? Qt::MatchStartsWith : Qt::MatchExactly) | Qt::MatchRecursive;
    const QList<QTreeWidgetItem *> found
        = tree ? tree->findItems(text, how, column) : QList<QTreeWidgetItem *>();
    if (found.isEmpty())
        note(QStringLiteral("no row \"%1\"").arg(text));
    return found.value(0);
}

QTreeWidgetItem *Tour::rowOfFamily(QTreeWidget *tree, int family)
{
    for (int i = 0; tree && i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = tree->topLevelItem(i);
        if (item->data(DataViews::kFamilyColumn, Qt::UserRole).toInt() == family)
            return item;
    }
    note(QStringLiteral("no recorder of product family %1").arg(family));
    return nullptr;
}

void Tour::press(QWidget *dialog, const char *button)
{
    QPointer<QAbstractButton> target = find<QAbstractButton>(dialog, button);
    if (!target)
        return;
    // As a user's click does, the button takes the focus: an open editor ends first.
    target->setFocus(Qt::MouseFocusReason);
    later([target] {
        if (target)
            target->click();
    });
}

void Tour::answer(QWidget *box, int button)
{
    auto *messageBox = qobject_cast<QMessageBox *>(box);
    QPointer<QAbstractButton> target
        = messageBox ? messageBox->button(QMessageBox::StandardButton(button)) : nullptr;
    if (!target) {
        note(QStringLiteral("no such button in the message box"));
        return;
    }
    later([target] {
        if (target)
            target->click();
    });
}

void Tour::note(const QString &text)
{
    m_index << QStringLiteral("- skipped: %1").arg(text);
    qWarning("Tour: %s", qUtf8Printable(text));
}

void Tour::snap(QWidget *widget, const QString &name, const QString &caption)
{
    const QString file
        = QStringLiteral("%1-%2.png").arg(++m_shots, 2, 10, QLatin1Char('0')).arg(name);
    widget->grab().save(m_out.filePath(file));
    m_index << QStringLiteral("- `%1`: %2").arg(file, caption);
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
    bulkScript();
    optionScript();
    koreanScript();
    remoteSetupScript(2);
    remoteSetupScript(3);
    atMainWindow(QStringLiteral("what changed"), [this, &window] {
        snap(&window, QStringLiteral("client-after"),
             QStringLiteral("The client after the tour, with what each dialog changed"));
    });
}

void Tour::accountScript()
{
    open(QStringLiteral("open the account manager"), &MainWindow::showAccounts);
    inDialog("CAccountManagerDlg", QStringLiteral("a new user"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("account-manager"),
             QStringLiteral("The account manager on the sample accounts"));
        // New makes a user in the folder that holds the users.
        auto *tree = find<QTreeWidget>(dialog, "accountTree");
        QTreeWidgetItem *user = row(tree, QStringLiteral("dpark"));
        choose(tree, user ? user->parent() : nullptr);
        press(dialog, "newButton");
    });
    inDialog("CAccountUserDlg", QStringLiteral("an id that differs from dpark only in case"),
             [this](QWidget *dialog) {
                 type(find<QLineEdit>(dialog, "idEdit"), QStringLiteral("DPark"));
                 type(find<QLineEdit>(dialog, "nameEdit"), QStringLiteral("Dana Parker"));
                 type(find<QLineEdit>(dialog, "descriptionEdit"), QStringLiteral("Patrol officer"));
                 type(find<QLineEdit>(dialog, "passwordEdit"), QStringLiteral("Cam3ra!"));
                 type(find<QLineEdit>(dialog, "confirmEdit"), QStringLiteral("Cam3ra!"));
                 press(dialog, "okButton");
             });
    inDialog("CAccountUserDlg", QStringLiteral("a password that does not match"),
             [this](QWidget *dialog) {
                 snap(dialog, QStringLiteral("user-id-refused"),
                      QStringLiteral(
                          "The id DPark is refused: dpark exists, and ids ignore letter case"));
                 type(find<QLineEdit>(dialog, "idEdit"), QStringLiteral("dparker"));
                 type(find<QLineEdit>(dialog, "confirmEdit"), QStringLiteral("Cam3ra?"));
                 press(dialog, "okButton");
             });
    inDialog("CAccountUserDlg", QStringLiteral("the matching password"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("user-password-refused"),
             QStringLiteral("The password and its confirmation differ: refused"));
        type(find<QLineEdit>(dialog, "confirmEdit"), QStringLiteral("Cam3ra!"));
        press(dialog, "okButton");
    });
    groupScript();
    inDialog("CAccountManagerDlg", QStringLiteral("delete a user who belongs to a group"),
             [this](QWidget *dialog) {
                 auto *tree = find<QTreeWidget>(dialog, "accountTree");
                 choose(tree, row(tree, QStringLiteral("lnguyen")));
                 snap(dialog, QStringLiteral("user-selected"),
                      QStringLiteral("lnguyen, a member of Operators, is selected"));
                 press(dialog, "deleteButton");
             });
    inDialog("QMessageBox", QStringLiteral("confirm the deletion"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("confirm-delete"),
             QStringLiteral("The account manager asks before it deletes"));
        answer(dialog, QMessageBox::Yes);
    });
    inDialog("CAccountManagerDlg", QStringLiteral("commit"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("before-commit"),
             QStringLiteral("The changes, before OK commits them"));
        press(dialog, "okButton");
    });
    atMainWindow(QStringLiteral("the committed accounts"), [this] {
        m_window.tabs()->setCurrentIndex(1);
        snap(&m_window, QStringLiteral("client-accounts-after"),
             QStringLiteral("The client after the commit: dparker and Patrol added, lnguyen gone"));
    });
}

void Tour::groupScript()
{
    inDialog("CAccountManagerDlg", QStringLiteral("a new group"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("user-added"),
             QStringLiteral("The new user dparker in the account manager"));
        // New makes a group in the folder that holds the groups.
        auto *tree = find<QTreeWidget>(dialog, "accountTree");
        QTreeWidgetItem *group = row(tree, QStringLiteral("Operators"));
        choose(tree, group ? group->parent() : nullptr);
        press(dialog, "newButton");
    });
    inDialog("CAccountGroupDlg", QStringLiteral("the group's members"), [this](QWidget *dialog) {
        type(find<QLineEdit>(dialog, "idEdit"), QStringLiteral("Patrol"));
        type(find<QLineEdit>(dialog, "descriptionEdit"), QStringLiteral("Mobile patrol team"));
        press(dialog, "memberButton");
    });
    inDialog("CChooseMemberDlg", QStringLiteral("a user and a group as members"),
             [this](QWidget *dialog) {
                 if (!select(find<QAbstractItemView>(dialog, "candidateList"),
                             {QStringLiteral("dparker"), QStringLiteral("Night Shift")}))
                     note(QStringLiteral("dparker or Night Shift is no candidate"));
                 if (auto *add = find<QAbstractButton>(dialog, "addButton"))
                     add->click();
                 snap(dialog, QStringLiteral("group-members"),
                      QStringLiteral("The member chooser: the user dparker and the group Night "
                                     "Shift become members"));
                 press(dialog, "okButton");
             });
    inDialog("CAccountGroupDlg", QStringLiteral("the new group"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("group-dialog"),
             QStringLiteral("The new group Patrol with its members"));
        press(dialog, "okButton");
    });
}

void Tour::authorityScript()
{
    open(QStringLiteral("open the authority manager"), &MainWindow::showAuthority);
    inDialog("CAuthorityDlg", QStringLiteral("an authority item"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("authority-manager"), QStringLiteral("The authority manager"));
        auto *tree = find<QTreeWidget>(dialog, "authorityTree");
        choose(tree, row(tree, QStringLiteral("Export video")));
        snap(dialog, QStringLiteral("authority-item"), QStringLiteral("Who may export video"));
        press(dialog, "memberButton");
    });
    inDialog("CChooseMemberDlg", QStringLiteral("grant it to the new group"),
             [this](QWidget *dialog) {
                 if (!select(find<QAbstractItemView>(dialog, "candidateList"),
                             {QStringLiteral("Patrol")}))
                     note(QStringLiteral("Patrol is no candidate"));
                 if (auto *add = find<QAbstractButton>(dialog, "addButton"))
                     add->click();
                 snap(dialog, QStringLiteral("authority-members"),
                      QStringLiteral("The group Patrol may now export video"));
                 press(dialog, "okButton");
             });
    inDialog("CAuthorityDlg", QStringLiteral("commit"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("authority-granted"),
             QStringLiteral("The item with its new holder, before OK"));
        press(dialog, "okButton");
    });
    atMainWindow(QStringLiteral("the committed authority"), [this] {
        m_window.tabs()->setCurrentIndex(2);
        snap(&m_window, QStringLiteral("client-authority-after"),
             QStringLiteral("The client's authority after the commit"));
    });
}

void Tour::recorderScript()
{
    open(QStringLiteral("open the recorder manager"), &MainWindow::showRecorders);
    inDialog("CServerListDlg", QStringLiteral("a recorder's information"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("recorder-manager"),
             QStringLiteral("The recorder manager on the sample recorders"));
        auto *tree = find<QTreeWidget>(dialog, "serverTree");
        choose(tree, row(tree, QStringLiteral("HQ Lobby")));
        snap(dialog, QStringLiteral("recorder-information"),
             QStringLiteral("HQ Lobby: product name, firmware version and additional "
                            "information"));
        QWidget *info = find<QWidget>(dialog, "infoList");
        if (!toggleCategory(info, QStringLiteral("Recorder")))
            note(QStringLiteral("no category \"Recorder\" in the information list"));
        snap(dialog, QStringLiteral("recorder-information-collapsed"),
             QStringLiteral("The recorder category collapsed"));
        toggleCategory(info, QStringLiteral("Recorder"));
        press(dialog, "newButton");
    });
    inDialog("CServerSetupDlg", QStringLiteral("a new recorder of product kind 2, by a taken name"),
             [this](QWidget *dialog) {
                 if (auto *product = find<QComboBox>(dialog, "productCombo"))
                     product->setCurrentIndex(product->findData(2));
                 type(find<QLineEdit>(dialog, "nameEdit"), QStringLiteral("HQ Lobby"));
                 type(find<QLineEdit>(dialog, "addressEdit"), QStringLiteral("10.20.9.50"));
                 press(dialog, "okButton");
             });
    inDialog("QMessageBox", QStringLiteral("the name is taken"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("recorder-name-refused"),
             QStringLiteral("A recorder named HQ Lobby exists: refused"));
        answer(dialog, QMessageBox::Ok);
    });
    inDialog("CServerSetupDlg", QStringLiteral("a new name, HQ Lobby's address and port"),
             [this](QWidget *dialog) {
                 type(find<QLineEdit>(dialog, "nameEdit"), QStringLiteral("Harbour Gate"));
                 type(find<QLineEdit>(dialog, "addressEdit"), QStringLiteral("10.20.1.11"));
                 press(dialog, "okButton");
             });
    inDialog("QMessageBox", QStringLiteral("the address and port are taken"),
             [this](QWidget *dialog) {
                 snap(dialog, QStringLiteral("recorder-address-refused"),
                      QStringLiteral("HQ Lobby already answers at 10.20.1.11, port 7011: "
                                     "refused"));
                 answer(dialog, QMessageBox::Ok);
             });
    recorderEditScript();
    atMainWindow(QStringLiteral("the committed recorders"), [this] {
        m_window.tabs()->setCurrentIndex(0);
        snap(&m_window, QStringLiteral("client-recorders-after"),
             QStringLiteral("The client reloaded its recorders after the commit"));
    });
}

void Tour::recorderEditScript()
{
    inDialog("CServerSetupDlg", QStringLiteral("an address of its own and a phone number"),
             [this](QWidget *dialog) {
                 type(find<QLineEdit>(dialog, "addressEdit"), QStringLiteral("10.20.9.50"));
                 // F2 edits the row's name, Tab moves on to its value.
                 auto *rows = find<QTreeWidget>(dialog, "additionalInfoList");
                 if (QTreeWidgetItem *phone = row(rows, QStringLiteral("Phone"))) {
                     choose(rows, phone);
                     sendKey(rows, Qt::Key_F2);
                     sendKey(find<QLineEdit>(dialog, "cellEditor"), Qt::Key_Tab);
                     type(find<QLineEdit>(dialog, "cellEditor"), QStringLiteral("+1 555 0199"));
                 }
                 snap(dialog, QStringLiteral("recorder-setup"),
                      QStringLiteral("A recorder of product kind 2: port 7011 and login vexil "
                                     "filled in, the phone number typed into its cell"));
                 press(dialog, "okButton");
             });
    inDialog("CServerListDlg", QStringLiteral("rename a recorder"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("recorder-added"),
             QStringLiteral("Harbour Gate in the recorder manager"));
        auto *tree = find<QTreeWidget>(dialog, "serverTree");
        choose(tree, row(tree, QStringLiteral("Gate House")));
        press(dialog, "modifyButton");
    });
    inDialog("CServerSetupDlg", QStringLiteral("the new name"), [this](QWidget *dialog) {
        type(find<QLineEdit>(dialog, "nameEdit"), QStringLiteral("Gate House East"));
        press(dialog, "okButton");
    });
    inDialog("CServerListDlg", QStringLiteral("delete a recorder"), [this](QWidget *dialog) {
        auto *tree = find<QTreeWidget>(dialog, "serverTree");
        choose(tree, row(tree, QStringLiteral("Training Center")));
        press(dialog, "deleteButton");
    });
    inDialog("QMessageBox", QStringLiteral("confirm the deletion"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("recorder-delete"),
             QStringLiteral("The recorder manager asks before it deletes"));
        answer(dialog, QMessageBox::Yes);
    });
    inDialog("CServerListDlg", QStringLiteral("commit"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("recorder-before-commit"),
             QStringLiteral("The changes, before OK commits them"));
        press(dialog, "okButton");
    });
    inDialog("QMessageBox", QStringLiteral("disconnect the connected recorders"),
             [this](QWidget *dialog) {
                 snap(dialog, QStringLiteral("recorder-disconnect"),
                      QStringLiteral("Recorders are connected: storing the list disconnects "
                                     "them"));
                 answer(dialog, QMessageBox::Yes);
             });
}

// Finding a recorder, then an export of the list and an import of a file with a refused row.
void Tour::bulkScript()
{
    const QString exported = m_out.filePath(QStringLiteral("recorders.csv"));
    const QString imported = m_out.filePath(QStringLiteral("new-recorders.csv"));
    open(QStringLiteral("the recorder manager, to find and import"), &MainWindow::showRecorders);
    inDialog("CServerListDlg", QStringLiteral("find a recorder"), [this](QWidget *dialog) {
        auto *field = find<QLineEdit>(dialog, "filterEdit");
        type(field, QStringLiteral("ware"));
        snap(dialog, QStringLiteral("recorder-filter"),
             QStringLiteral("Typing \"ware\" finds the two warehouses; the count says how many "
                            "are shown of how many"));
        if (field)
            field->clear();
        press(dialog, "exportButton");
    });
    inDialog("QMessageBox", QStringLiteral("passwords in the export?"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("recorder-export-question"),
             QStringLiteral("Export asks before it writes passwords in clear text (No by "
                            "default)"));
        answer(dialog, QMessageBox::No);
    });
    chooseFile(QStringLiteral("the export file"), exported);
    inDialog("CServerListDlg", QStringLiteral("import"), [this, imported](QWidget *dialog) {
        // Two new recorders, one whose name is taken, one whose port is out of range.
        QFile file(imported);
        if (!file.open(QIODevice::WriteOnly)
            || file.write("name,address,port,product_kind\r\n"
                          "Harbour Crane 1,10.40.0.11,7011,2\r\n"
                          "Harbour Crane 2,10.40.0.12,7011,2\r\n"
                          "HQ Lobby,10.40.0.13,7011,2\r\n"
                          "Harbour Crane 3,10.40.0.14,70110,2\r\n")
                < 0)
            note(QStringLiteral("could not write %1").arg(imported));
        file.close();
        press(dialog, "importButton");
    });
    chooseFile(QStringLiteral("the import file"), imported);
    inDialog("CImportSummaryDlg", QStringLiteral("the import's summary"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("recorder-import-summary"),
             QStringLiteral("Two recorders added; the refused rows with their lines and reasons"));
        press(dialog, "okButton");
    });
    inDialog("CServerListDlg", QStringLiteral("the imported recorders"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("recorder-imported"),
             QStringLiteral("The imported recorders in the list, stored only on OK"));
        press(dialog, "cancelButton");
    });
}

// Qt's own file dialog (the offscreen platform has no native one): the file is named as a user
// types it.
void Tour::chooseFile(const QString &what, const QString &path)
{
    inDialog("QFileDialog", what, [this, path](QWidget *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        if (!files) {
            note(QStringLiteral("no file dialog"));
            return;
        }
        // Typed into the name field: an open dialog's selectFile() waits for its folder to load.
        if (auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(path);
        else
            files->selectFile(path);
        // Through QDialog: QFileDialog hides its accept(), which checks the name as OK would.
        later([files] { static_cast<QDialog *>(files)->accept(); });
    });
}

void Tour::optionScript()
{
    // Choosing a row opens its editor; Space toggles a check box or radio row.
    const auto toggle = [this](QTreeWidget *tree, const QString &text) {
        QTreeWidgetItem *choice = row(tree, text);
        choose(tree, choice);
        if (choice)
            sendKey(tree, Qt::Key_Space);
    };
    open(QStringLiteral("open the option sheet"), &MainWindow::showOptions);
    inDialog("CTreePropSheet", QStringLiteral("the General page"), [=, this](QWidget *dialog) {
        snap(dialog, QStringLiteral("option-sheet"),
             QStringLiteral("The option sheet: the General page with its groups expanded"));
        auto *tree = find<QTreeWidget>(dialog, "optionTree");
        choose(tree, row(tree, QStringLiteral("Connection polling interval"), true));
        // Far above the host's maximum.
        type(find<QLineEdit>(dialog, "optionEditor"), QStringLiteral("999"));
        snap(dialog, QStringLiteral("option-polling-time"),
             QStringLiteral("The polling time's editor, with a number above the host's maximum"));
        toggle(tree, QStringLiteral("German"));
        toggle(tree, QStringLiteral("DirectX 7"));
        snap(dialog, QStringLiteral("option-choices"),
             QStringLiteral("German and DirectX 7 chosen; the polling time held at the maximum"));
        press(dialog, "okButton");
    });
    // The client switches its language when it hears "Save", after the module has returned.
    atMainWindow(
        QStringLiteral("the stored options"),
        [this] { return m_window.language() == QLatin1String("de"); },
        [this] {
            m_window.tabs()->setCurrentIndex(3);
            snap(&m_window, QStringLiteral("client-options-after"),
                 QStringLiteral("The client after the option sheet: German, DirectX 7, the "
                                "polling time in the status bar"));
            m_window.tabs()->setCurrentIndex(0);
            MainWindow *window = &m_window;
            later([window] { window->showOptions(); });
        });
    inDialog("CTreePropSheet", QStringLiteral("the General page in German"),
             [this](QWidget *dialog) {
                 snap(dialog, QStringLiteral("option-sheet-de"),
                      QStringLiteral("The option sheet in German"));
                 auto *tree = find<QTreeWidget>(dialog, "optionTree");
                 choose(tree, row(tree, QStringLiteral("Abfrageintervall der Verbindung"), true));
                 snap(dialog, QStringLiteral("option-polling-time-de"),
                      QStringLiteral("The polling time's editor in German"));
                 press(dialog, "cancelButton");
             });
}

void Tour::koreanScript()
{
    atMainWindow(QStringLiteral("the account manager in Korean"), [this] {
        if (!m_window.setLanguage(QStringLiteral("ko")))
            note(QStringLiteral("the module did not switch to Korean"));
        MainWindow *window = &m_window;
        later([window] { window->showAccounts(); });
    });
    inDialog("CAccountManagerDlg", QStringLiteral("Korean texts"), [this](QWidget *dialog) {
        auto *tree = find<QTreeWidget>(dialog, "accountTree");
        choose(tree, row(tree, QStringLiteral("Patrol")));
        snap(dialog, QStringLiteral("account-manager-ko"),
             QStringLiteral("The account manager in Korean"));
        press(dialog, "closeButton");
    });
    open(QStringLiteral("the recorder manager in Korean"), &MainWindow::showRecorders);
    inDialog("CServerListDlg", QStringLiteral("Korean texts"), [this](QWidget *dialog) {
        type(find<QLineEdit>(dialog, "filterEdit"), QStringLiteral("harbour"));
        auto *tree = find<QTreeWidget>(dialog, "serverTree");
        choose(tree, row(tree, QStringLiteral("Harbour Gate")));
        snap(dialog, QStringLiteral("recorder-manager-ko"),
             QStringLiteral("The recorder manager in Korean, finding the harbour recorders"));
        press(dialog, "modifyButton");
    });
    inDialog("CServerSetupDlg", QStringLiteral("Korean texts"), [this](QWidget *dialog) {
        snap(dialog, QStringLiteral("recorder-setup-ko"),
             QStringLiteral("The recorder setup dialog in Korean"));
        press(dialog, "cancelButton");
    });
    inDialog("CServerListDlg", QStringLiteral("close"),
             [this](QWidget *dialog) { press(dialog, "cancelButton"); });
    atMainWindow(QStringLiteral("back to English"), [this] {
        if (!m_window.setLanguage(QStringLiteral("en")))
            note(QStringLiteral("the module did not switch back to English"));
    });
}

// The remote setup of a recorder of that product family, found by the kind its row shows.
void Tour::remoteSetupScript(int family)
{
    atMainWindow(QStringLiteral("remote setup of a recorder of product family %1").arg(family),
                 [this, family] {
                     QTreeWidget *tree = m_window.recorderTree();
                     choose(tree, rowOfFamily(tree, family));
                     QString error;
                     QWidget *setup = m_window.openSelectedRemoteSetup(&error);
                     if (!setup) {
                         note(error);
                         return;
                     }
                     wait(100); // the plug-in's window lays itself out
                     snap(setup, QStringLiteral("remote-setup-family%1").arg(family),
                          QStringLiteral("The sample plug-in's remote setup of a recorder of "
                                         "product family %1")
                              .arg(family));
                     setup->close();
                 });
}
