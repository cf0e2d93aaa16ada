// The dialog that registers a new recorder or edits one in the working copy of the recorder
// list: name, address, port, product, login, additional information, and the DDNS fields that
// stay hidden but pass through an edit unchanged. On OK it checks the recorder against the
// others, writes the record in place and closes; it never saves the list.
#pragma once

#include "controls/field_edits.h"
#include "server_rules.h"

#include <ostrel/data_provider.h>

#include <QDialog>

class CFilterEdit;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class CServerSetupDlg : public QDialog
{
    Q_OBJECT

public:
    // Registers a new recorder rather than editing one.
    static constexpr std::int32_t kNewServer = -1;
    // servers: the working copy; index: the position of the recorder to edit in it, or
    // kNewServer. A position, not a name: a list may hold two recorders of one name, and the
    // one the user chose is the one edited.
    CServerSetupDlg(IServerListProvider *servers, std::int32_t index, QWidget *parent = nullptr);
    ~CServerSetupDlg() override;

    // Checks and stores the recorder; a refusal shows why and keeps the dialog open.
    void accept() override;
    void reject() override;

    // The additional-information list's buttons.
    void OnNewInfo();
    void OnDeleteInfo();

protected:
    void showEvent(QShowEvent *event) override;

private:
    class CellDelegate;

    // The constructor's steps: the recorder's fields, the additional information, OK and Cancel,
    // and the controls that stay hidden.
    void buildServerGroup();
    void buildInfoGroup();
    void buildButtons();
    void buildHiddenControls();
    void initDialog();
    // Shows an edited record and remembers what each edit showed.
    void loadRecord(const ServerRecord &record);
    void fillProducts();
    void setTexts();
    // Fills port and login from the chosen product, unless an edited record keeps its own.
    void applyProductDefaults();
    // Appends an additional-information row and returns it.
    QTreeWidgetItem *addInfoRow(std::int32_t tag, const QString &name, const QString &value);
    std::vector<setupmgr::InfoRow> infoRows() const;
    // What goes into the record: every field of a new one, only what the user changed of an
    // edited one.
    setupmgr::ServerFields fields() const;
    void refuse(setupmgr::ServerRefusal refusal);
    // Stores the checked fields in the record; false when memory ran out, the record unchanged.
    bool store(ServerRecord &record, const setupmgr::ServerFields &values);
    bool editing() const { return m_index != kNewServer; }

    IServerListProvider *m_servers;
    std::int32_t m_index;
    bool m_initialised = false;
    int m_lastProduct = -1;
    // The edited record as it was shown: the texts of its edits, its name's bytes, its product
    // entry, its DDNS flag and its additional information.
    setupmgr::FieldEdits m_loaded;
    QByteArray m_loadedName;
    int m_loadedProduct = -1;
    bool m_loadedUseDdns = false;
    std::vector<AdditionalInfo> m_loadedInfo;

    QGroupBox *m_serverGroup;
    QLabel *m_nameLabel;
    CFilterEdit *m_nameEdit;
    QLabel *m_addressLabel;
    CFilterEdit *m_addressEdit;
    QLabel *m_portLabel;
    QLineEdit *m_portEdit;
    QLabel *m_productLabel;
    QComboBox *m_productCombo;
    QLabel *m_loginLabel;
    QLineEdit *m_loginEdit;
    QLabel *m_passwordLabel;
    QLineEdit *m_passwordEdit;
    QGroupBox *m_infoGroup;
    QTreeWidget *m_infoList;
    CellDelegate *m_cells;
    QPushButton *m_newInfo;
    QPushButton *m_deleteInfo;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    // Kept hidden; the record's DDNS fields pass through them.
    QGroupBox *m_ddnsGroup;
    QCheckBox *m_useDdns;
    QLabel *m_ddnsAddressLabel;
    QLineEdit *m_ddnsAddress;
    QLabel *m_ddnsIdLabel;
    QLineEdit *m_ddnsId;
    QLabel *m_ddnsPasswordLabel;
    QLineEdit *m_ddnsPassword;
    QPushButton *m_test;
    QLabel *m_pairNameLabel;
    QLineEdit *m_pairName;
    QLabel *m_pairValueLabel;
    QLineEdit *m_pairValue;
    QPushButton *m_pairApply;
};
