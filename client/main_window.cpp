#include "main_window.h"

#include "installation.h"
#include "module_handle.h"
#include "remote_setup_site.h"

#include <ostrel/languages.h>

#include <QAction>
#include <QActionGroup>
#include <QDateTime>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>

using ostrelhost::DataFile;

MainWindow::MainWindow(ModuleHandle &module, ostrelhost::ReferenceHost &host, QWidget *parent)
    : QMainWindow(parent)
    , m_module(module)
    , m_host(host)
    , m_tabs(new QTabWidget)
    , m_recorderTree(new QTreeWidget)
    , m_accountTree(new QTreeWidget)
    , m_authorityTree(new QTreeWidget)
    , m_optionTree(new QTreeWidget)
    , m_changes(new QPlainTextEdit)
    , m_pollingTime(new QLabel)
    , m_site(new RemoteSetupSite(module, this))
{
    setWindowTitle(QStringLiteral("Ostrel Client (demo) - %1").arg(host.installDir()));
    resize(1000, 640);
    createActions();

    // The codes the module's option page offers, each in its own language.
    QMenu *languageMenu = menuBar()->addMenu(QStringLiteral("&Language"));
    m_languages = new QActionGroup(this);
    for (const ostrel::InstallationLanguage &each : ostrel::kInstallationLanguages) {
        QAction *choice = languageMenu->addAction(QString::fromUtf8(each.nativeName));
        choice->setCheckable(true);
        choice->setData(QLatin1String(each.code));
        choice->setChecked(language() == QLatin1String(each.code));
        m_languages->addAction(choice);
    }
    connect(m_languages, &QActionGroup::triggered, this,
            [this](QAction *choice) { setLanguage(choice->data().toString()); });

    buildViews();
    connectHost();

    refresh();
    for (const ostrelhost::FileProblem &problem : m_host.diagnostics().problems())
        m_changes->appendPlainText(problem.message());
    statusBar()->showMessage(m_host.diagnostics().problems().isEmpty()
                                 ? QStringLiteral("Module %1 loaded, setup manager version %2")
                                       .arg(m_module.path())
                                       .arg(m_module.manager()->GetVersion())
                                 : m_host.diagnostics().problems().constLast().message());
}

void MainWindow::createActions()
{
    const auto action = [this](const QString &text, const char *icon, const QString &tip,
                               void (MainWindow::*slot)()) {
        // The 1x picture and its 2x twin, so that a scaled screen shows the finer one.
        const QString file = QStringLiteral(":/client/%1.png").arg(QLatin1String(icon));
        QIcon image(file);
        image.addFile(QStringLiteral(":/client/%1@2x.png").arg(QLatin1String(icon)));
        auto *result = new QAction(image, text, this);
        result->setToolTip(tip);
        result->setObjectName(text.toLower().remove(QLatin1Char('&')).remove(QLatin1Char(' ')));
        connect(result, &QAction::triggered, this, slot);
        return result;
    };
    m_accounts = action(QStringLiteral("&Accounts"), "accounts", QStringLiteral("Users and groups"),
                        &MainWindow::showAccounts);
    m_authority = action(QStringLiteral("A&uthority"), "authority",
                         QStringLiteral("Who holds each permission"), &MainWindow::showAuthority);
    m_recorders
        = action(QStringLiteral("&Recorders"), "recorders",
                 QStringLiteral("Register, edit and delete recorders"), &MainWindow::showRecorders);
    m_options
        = action(QStringLiteral("&Options"), "options",
                 QStringLiteral("Language, alarm service, graphics"), &MainWindow::showOptions);
    m_remoteSetup
        = action(QStringLiteral("Remote &setup"), "remote-setup",
                 QStringLiteral("Set up the selected recorder through its product plug-in"),
                 &MainWindow::openRemoteSetup);

    QMenu *setup = menuBar()->addMenu(QStringLiteral("&Setup"));
    QToolBar *toolBar = addToolBar(QStringLiteral("Setup"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->setIconSize(QSize(16, 16));
    for (QAction *each : {m_accounts, m_authority, m_recorders, m_options, m_remoteSetup}) {
        setup->addAction(each);
        toolBar->addAction(each);
    }
    setup->addSeparator();
    setup->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, this, &QWidget::close);
}

void MainWindow::buildViews()
{
    m_tabs->addTab(m_recorderTree, QStringLiteral("Recorders"));
    m_tabs->addTab(m_accountTree, QStringLiteral("Accounts"));
    m_tabs->addTab(m_authorityTree, QStringLiteral("Authority"));
    m_tabs->addTab(m_optionTree, QStringLiteral("Options"));
    m_changes->setReadOnly(true);
    m_changes->setPlaceholderText(QStringLiteral("What each dialog changed is listed here."));
    auto *split = new QSplitter(Qt::Vertical);
    split->addWidget(m_tabs);
    split->addWidget(m_changes);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    setCentralWidget(split);
    m_pollingTime->setObjectName(QStringLiteral("pollingTime"));
    statusBar()->addPermanentWidget(m_pollingTime);
    connect(m_recorderTree, &QTreeWidget::itemDoubleClicked, this, &MainWindow::openRemoteSetup);
}

void MainWindow::connectHost()
{
    connect(&m_host.diagnostics(), &ostrelhost::Diagnostics::problemReported, this,
            [this](const ostrelhost::FileProblem &problem) {
                statusBar()->showMessage(problem.message());
                m_changes->appendPlainText(problem.message());
            });
    connect(&m_host.notifications(), &ostrelhost::NotificationRelay::optionsSaved, this,
            [this] { statusBar()->showMessage(QStringLiteral("The module saved the options.")); });
    // Queued: the module is still on the stack when it notifies, and a new language restarts it.
    connect(&m_host.notifications(), &ostrelhost::NotificationRelay::optionsSaved, this,
            &MainWindow::applySavedOptions, Qt::QueuedConnection);
}

MainWindow::~MainWindow()
{
    m_site->close();
}

QString MainWindow::ostrelIni() const
{
    return Installation::mainIni(m_host.installDir());
}

QString MainWindow::language() const
{
    return Installation::language(m_host.installDir());
}

bool MainWindow::setLanguage(const QString &code)
{
    if (!Installation::setLanguage(m_host.installDir(), code)) {
        statusBar()->showMessage(QStringLiteral("Cannot write %1").arg(ostrelIni()));
        return false;
    }
    m_site->close();
    if (!m_module.restart())
        return false;
    registerProviders();
    for (QAction *choice : m_languages->actions())
        choice->setChecked(choice->data().toString() == code);
    refresh();
    statusBar()->showMessage(QStringLiteral("The module now speaks \"%1\".").arg(code));
    return true;
}

void MainWindow::applySavedOptions()
{
    showPollingTime();
    OptionRecord *options = nullptr;
    if (!m_host.options().getOptions(&options))
        return;
    const QString code = QString::fromUtf8(options->language,
                                           qstrnlen(options->language, sizeof options->language));
    if (!code.isEmpty() && code != language())
        setLanguage(code);
}

void MainWindow::showPollingTime()
{
    OptionRecord *options = nullptr;
    if (m_host.options().getOptions(&options))
        m_pollingTime->setText(
            QStringLiteral("Alarm service polling time: %1").arg(options->alarmServicePollingTime));
}

void MainWindow::registerProviders()
{
    for (IDataProvider *provider : m_host.providers())
        m_module.manager()->RegisterProvider(provider);
}

DataViews::Snapshot MainWindow::snapshot()
{
    DataViews::Snapshot all = DataViews::accounts(m_host.accounts());
    all.insert(DataViews::authority(m_host.authority()));
    all.insert(DataViews::recorders(m_host.serverList()));
    all.insert(DataViews::options(m_host.options(), ostrelIni()));
    return all;
}

void MainWindow::refresh()
{
    const QString selected = DataViews::recorderName(m_recorderTree);
    DataViews::fillRecorders(m_recorderTree, m_host.serverList(),
                             Installation::oemIni(m_host.installDir()));
    DataViews::fillAccounts(m_accountTree, m_host.accounts());
    DataViews::fillAuthority(m_authorityTree, m_host.authority());
    DataViews::fillOptions(m_optionTree, m_host.options(), ostrelIni());
    showPollingTime();
    if (!selectRecorder(selected) && m_recorderTree->topLevelItemCount())
        m_recorderTree->setCurrentItem(m_recorderTree->topLevelItem(0));
}

void MainWindow::report(const QString &dialog, const DataViews::Snapshot &before)
{
    refresh();
    const QStringList lines = DataViews::difference(before, snapshot());
    const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    if (lines.isEmpty()) {
        m_changes->appendPlainText(QStringLiteral("%1  %2: nothing changed").arg(time, dialog));
    } else {
        m_changes->appendPlainText(
            QStringLiteral("%1  %2: %3 change(s)").arg(time, dialog).arg(lines.size()));
        for (const QString &line : lines)
            m_changes->appendPlainText(QStringLiteral("    ") + line);
    }
    statusBar()->showMessage(
        QStringLiteral("%1 closed: %2 change(s)").arg(dialog).arg(lines.size()));
}

bool MainWindow::selectRecorder(const QString &name)
{
    if (name.isEmpty())
        return false;
    const QList<QTreeWidgetItem *> found = m_recorderTree->findItems(name, Qt::MatchExactly, 0);
    if (found.isEmpty())
        return false;
    m_recorderTree->setCurrentItem(found.first());
    return true;
}

void MainWindow::showAccounts()
{
    const DataViews::Snapshot before = snapshot();
    m_module.manager()->ShowAccountManager();
    report(QStringLiteral("Account manager"), before);
}

void MainWindow::showAuthority()
{
    const DataViews::Snapshot before = snapshot();
    m_module.manager()->ShowAuthorityManager();
    report(QStringLiteral("Authority manager"), before);
}

void MainWindow::showRecorders()
{
    const DataViews::Snapshot before = snapshot();
    // The module stores the recorder list in its file; reloading it is the client's part.
    if (m_module.manager()->ShowServerManager())
        m_host.reload(DataFile::ServerList);
    report(QStringLiteral("Recorder manager"), before);
}

void MainWindow::showOptions()
{
    const DataViews::Snapshot before = snapshot();
    m_module.manager()->ShowOptionSheet();
    report(QStringLiteral("Option sheet"), before);
}

QWidget *MainWindow::openSelectedRemoteSetup(QString *error)
{
    const QString name = DataViews::recorderName(m_recorderTree);
    ServerRecord *server = nullptr;
    if (name.isEmpty() || !m_host.serverList().findServer(name.toUtf8().constData(), &server)) {
        *error = QStringLiteral("Select a recorder first.");
        return nullptr;
    }
    QWidget *window = m_site->open(server->hostId, server->productKind);
    if (!window) {
        *error
            = QStringLiteral("The module could not open a remote setup for %1 (product kind %2): "
                             "remote setup exists for the product families 2 and 3 when their "
                             "plug-in is installed.")
                  .arg(name)
                  .arg(server->productKind);
        return nullptr;
    }
    statusBar()->showMessage(QStringLiteral("Remote setup of %1 is open.").arg(name));
    return window;
}

void MainWindow::openRemoteSetup()
{
    QString error;
    if (!openSelectedRemoteSetup(&error))
        QMessageBox::information(this, windowTitle(), error);
}
