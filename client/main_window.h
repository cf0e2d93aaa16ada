// The demo client's main window: the client's data, and the actions that open the module's
// dialogs. After each dialog it shows what changed.
#pragma once

#include "data_views.h"

#include <ostrelhost/reference_host.h>

#include <QMainWindow>

class ModuleHandle;
class QAction;
class QActionGroup;
class QLabel;
class QPlainTextEdit;
class QTabWidget;
class QTreeWidget;
class RemoteSetupSite;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(ModuleHandle &module, ostrelhost::ReferenceHost &host, QWidget *parent = nullptr);
    ~MainWindow() override;

    QAction *accountsAction() const { return m_accounts; }
    QAction *authorityAction() const { return m_authority; }
    QAction *recordersAction() const { return m_recorders; }
    QAction *optionsAction() const { return m_options; }
    QAction *remoteSetupAction() const { return m_remoteSetup; }
    QTabWidget *tabs() const { return m_tabs; }
    QTreeWidget *recorderTree() const { return m_recorderTree; }
    RemoteSetupSite *remoteSetupSite() const { return m_site; }
    QPlainTextEdit *changes() const { return m_changes; }
    // The alarm service's polling time, in the status bar.
    QLabel *pollingTime() const { return m_pollingTime; }
    ostrelhost::ReferenceHost &host() const { return m_host; }

    // Selects the recorder of that name in the recorder tree; false when there is none.
    bool selectRecorder(const QString &name);
    // Makes code the installation's language and gives the module a fresh setup manager, which
    // reads the texts of that language.
    bool setLanguage(const QString &code);
    QString language() const;

    // Opens the remote setup of the selected recorder; its window, or null with the reason.
    QWidget *openSelectedRemoteSetup(QString *error);

public slots:
    void showAccounts();
    void showAuthority();
    void showRecorders();
    void showOptions();
    void openRemoteSetup();

private:
    // The actions that open the dialogs, in the Setup menu and the toolbar.
    void createActions();
    // The client's data in tabs, above the list of what each dialog changed; the polling time in
    // the status bar.
    void buildViews();
    // What the host reports: file problems, and the options the module saved.
    void connectHost();
    DataViews::Snapshot snapshot();
    void refresh();
    // Refreshes the views and reports what the dialog changed.
    void report(const QString &dialog, const DataViews::Snapshot &before);
    QString ostrelIni() const;
    void registerProviders();
    // What the module announced with "Save": the options' language becomes the installation's,
    // and the polling time is shown.
    void applySavedOptions();
    void showPollingTime();

    ModuleHandle &m_module;
    ostrelhost::ReferenceHost &m_host;
    QAction *m_accounts;
    QAction *m_authority;
    QAction *m_recorders;
    QAction *m_options;
    QAction *m_remoteSetup;
    QActionGroup *m_languages;
    QTabWidget *m_tabs;
    QTreeWidget *m_recorderTree;
    QTreeWidget *m_accountTree;
    QTreeWidget *m_authorityTree;
    QTreeWidget *m_optionTree;
    QPlainTextEdit *m_changes;
    QLabel *m_pollingTime;
    RemoteSetupSite *m_site;
};
