#include "server_setup_dlg.h"

#include "common/language.h"
#include "common/product_names.h"
#include "common/text_field.h"
#include "controls/dialog_style.h"
#include "controls/filter_edit.h"
#include "controls/utf8_limit_validator.h"
#include "controls/widgets.h"

#include <ostrel/setup_manager.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace setupmgr;

namespace {

enum ControlId { kOkButton = 1, kCancelButton = 2 };

QColor cellEditorColor()
{
    return QColor(255, 255, 225);
}

// The rows the list shows for a new recorder, top to bottom.
constexpr const char *kNewRecorderRows[] = {"Fire Dept", "Police", "Fax", "Phone", "Manager"};

QLineEdit *makeEdit(QWidget *parent, const char *objectName, int fieldSize)
{
    auto *edit = new QLineEdit(parent);
    markControl(edit, -1, objectName);
    limitToField(edit, fieldSize);
    return edit;
}

CFilterEdit *makeFilterEdit(QWidget *parent, const char *objectName)
{
    auto *edit = new CFilterEdit(0, QString::fromLatin1(kInitialServerChars), parent);
    markControl(edit, -1, objectName);
    limitToField(edit, sizeof(ServerRecord::name));
    return edit;
}

QLabel *label(QWidget *parent, const char *text, const char *objectName, QWidget *buddy)
{
    return makeLabel(parent, text, -1, objectName, buddy);
}

} // namespace

CServerSetupDlg::CServerSetupDlg(IServerListProvider *servers, const QString &name, QWidget *parent)
    : QDialog(parent)
    , m_servers(servers)
    , m_name(name)
{
    setWindowTitle(QStringLiteral("DVR Information"));
    // Login texts keep to 49 bytes; the other texts fill their 51-byte fields.
    const int loginField = kLoginFieldLength + 1;

    m_serverGroup = new QGroupBox(QStringLiteral("DVR Information"), this);
    markControl(m_serverGroup, -1, "serverInfoGroup");
    m_nameEdit = makeFilterEdit(m_serverGroup, "nameEdit");
    m_addressEdit = makeFilterEdit(m_serverGroup, "addressEdit");
    m_portEdit = new QLineEdit(m_serverGroup);
    markControl(m_portEdit, -1, "portEdit");
    m_portEdit->setValidator(new QIntValidator(0, 65535, m_portEdit));
    m_productCombo = new QComboBox(m_serverGroup);
    markControl(m_productCombo, -1, "productCombo");
    m_loginEdit = makeEdit(m_serverGroup, "loginIdEdit", loginField);
    m_passwordEdit = makeEdit(m_serverGroup, "passwordEdit", loginField);
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_nameLabel = label(m_serverGroup, "&Name:", "nameLabel", m_nameEdit);
    m_addressLabel = label(m_serverGroup, "&Address:", "addressLabel", m_addressEdit);
    m_portLabel = label(m_serverGroup, "&Port:", "portLabel", m_portEdit);
    m_productLabel = label(m_serverGroup, "P&roduct:", "productLabel", m_productCombo);
    m_loginLabel = label(m_serverGroup, "Login &ID:", "loginIdLabel", m_loginEdit);
    m_passwordLabel = label(m_serverGroup, "Pass&word:", "passwordLabel", m_passwordEdit);
    auto *serverFields = new QGridLayout(m_serverGroup);
    const std::pair<QLabel *, QWidget *> rows[]
        = {{m_nameLabel, m_nameEdit},   {m_addressLabel, m_addressEdit},
           {m_portLabel, m_portEdit},   {m_productLabel, m_productCombo},
           {m_loginLabel, m_loginEdit}, {m_passwordLabel, m_passwordEdit}};
    int row = 0;
    for (const auto &[caption, field] : rows) {
        serverFields->addWidget(caption, row, 0);
        serverFields->addWidget(field, row++, 1);
    }
    serverFields->setRowStretch(row, 1);

    m_infoGroup = new QGroupBox(QStringLiteral("Additional Information"), this);
    markControl(m_infoGroup, -1, "additionalInfoGroup");
    m_infoList = new QTreeWidget(m_infoGroup);
    markControl(m_infoList, -1, "additionalInfoList");
    m_infoList->setColumnCount(2);
    // Fixed headings, not from the language files.
    m_infoList->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value")});
    m_infoList->setAccessibleName(m_infoGroup->title());
    m_infoList->setRootIsDecorated(false);
    m_infoList->setItemsExpandable(false);
    m_infoList->setUniformRowHeights(true);
    m_infoList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_infoList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_infoList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_infoList->header()->setSectionsMovable(false);
    m_cellEditor = new QLineEdit(m_infoList->viewport());
    markControl(m_cellEditor, -1, "cellEditor");
    m_cellEditor->setAccessibleName(QStringLiteral("Cell"));
    m_cellEditor->setFrame(true);
    limitToField(m_cellEditor, sizeof(AdditionalInfo::name));
    QPalette yellow = m_cellEditor->palette();
    yellow.setColor(QPalette::Base, cellEditorColor());
    m_cellEditor->setPalette(yellow);
    m_cellEditor->hide();
    m_cellEditor->installEventFilter(this);
    m_newInfo = makeButton(m_infoGroup, "&New", -1, "newButton");
    m_deleteInfo = makeButton(m_infoGroup, "&Delete", -1, "deleteButton");
    auto *infoButtons = new QHBoxLayout;
    infoButtons->addStretch();
    infoButtons->addWidget(m_newInfo);
    infoButtons->addWidget(m_deleteInfo);
    auto *infoLayout = new QVBoxLayout(m_infoGroup);
    infoLayout->addWidget(m_infoList, 1);
    infoLayout->addLayout(infoButtons);

    m_buttons = new QDialogButtonBox(this);
    m_ok = m_buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    m_cancel = m_buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    markControl(m_ok, kOkButton, "okButton");
    markControl(m_cancel, kCancelButton, "cancelButton");
    m_ok->setDefault(true);

    // Never shown, and kept outside the visible area as the template keeps them.
    m_ddnsGroup = new QGroupBox(QStringLiteral("DDNS Information"), this);
    markControl(m_ddnsGroup, -1, "ddnsGroup");
    m_useDdns = new QCheckBox(QStringLiteral("&Use DDNS"), m_ddnsGroup);
    markControl(m_useDdns, -1, "useDdnsCheck");
    m_ddnsAddress = makeEdit(m_ddnsGroup, "ddnsAddressEdit", loginField);
    m_ddnsId = makeEdit(m_ddnsGroup, "ddnsIdEdit", loginField);
    m_ddnsPassword = makeEdit(m_ddnsGroup, "ddnsPasswordEdit", loginField);
    m_ddnsPassword->setEchoMode(QLineEdit::Password);
    m_ddnsAddressLabel = label(m_ddnsGroup, "Address:", "ddnsAddressLabel", m_ddnsAddress);
    m_ddnsIdLabel = label(m_ddnsGroup, "ID:", "ddnsIdLabel", m_ddnsId);
    m_ddnsPasswordLabel = label(m_ddnsGroup, "Password:", "ddnsPasswordLabel", m_ddnsPassword);
    m_test = makeButton(m_ddnsGroup, "Test", -1, "testButton");
    m_pairName = makeEdit(m_ddnsGroup, "pairNameEdit", sizeof(AdditionalInfo::name));
    m_pairValue = makeEdit(m_ddnsGroup, "pairValueEdit", sizeof(AdditionalInfo::value));
    m_pairNameLabel = label(m_ddnsGroup, "Name:", "pairNameLabel", m_pairName);
    m_pairValueLabel = label(m_ddnsGroup, "Value:", "pairValueLabel", m_pairValue);
    m_pairApply = makeButton(m_ddnsGroup, "Apply", -1, "applyButton");
    m_ddnsGroup->setGeometry(-1000, -1000, 10, 10);
    m_ddnsGroup->hide();

    auto *groups = new QHBoxLayout;
    groups->addWidget(m_serverGroup, 1);
    groups->addWidget(m_infoGroup, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(groups, 1);
    layout->addWidget(m_buttons);
    setUpDialog(this, 314, 180);
    const QWidget *order[]
        = {m_nameEdit, m_addressEdit, m_portEdit,   m_productCombo, m_loginEdit, m_passwordEdit,
           m_infoList, m_newInfo,     m_deleteInfo, m_ok,           m_cancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(const_cast<QWidget *>(order[i - 1]), const_cast<QWidget *>(order[i]));

    connect(m_productCombo, &QComboBox::currentIndexChanged, this,
            &CServerSetupDlg::applyProductDefaults);
    connect(m_infoList, &QTreeWidget::itemClicked, this, &CServerSetupDlg::openCellEditor);
    connect(m_newInfo, &QPushButton::clicked, this, &CServerSetupDlg::OnNewInfo);
    connect(m_deleteInfo, &QPushButton::clicked, this, &CServerSetupDlg::OnDeleteInfo);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CServerSetupDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CServerSetupDlg::reject);
    // F2 edits the current row's name, as a click on its cell does.
    m_infoList->installEventFilter(this);
}

CServerSetupDlg::~CServerSetupDlg() = default;

void CServerSetupDlg::showEvent(QShowEvent *event)
{
    if (firstShow(m_initialised))
        initDialog();
    QDialog::showEvent(event);
}

void CServerSetupDlg::initDialog()
{
    m_addressEdit->SetForbiddenChars(QString::fromLatin1(kForbiddenAddressChars));
    m_nameEdit->SetForbiddenChars(QString::fromLatin1(kForbiddenServerNameChars));
    // Half the list's width each, less a vertical scroll bar; Value takes the odd pixel.
    const int width = m_infoList->viewport()->width()
        - m_infoList->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_infoList->setColumnWidth(0, width / 2);
    m_infoList->setColumnWidth(1, width - width / 2);
    fillProducts();

    ServerRecord *record = nullptr;
    if (!m_name.isEmpty() && m_servers
        && m_servers->findServer(m_name.toUtf8().constData(), &record) && record) {
        m_nameEdit->setText(fieldString(record->name));
        m_addressEdit->setText(fieldString(record->address));
        m_portEdit->setText(QString::number(record->port));
        m_loginEdit->setText(fieldString(record->loginId));
        m_passwordEdit->setText(fieldString(record->password));
        m_ddnsAddress->setText(fieldString(record->ddnsAddress));
        m_ddnsId->setText(fieldString(record->ddnsId));
        m_ddnsPassword->setText(fieldString(record->ddnsPassword));
        m_useDdns->setChecked(record->useDdns != 0);
        for (std::size_t i = 0, n = seqSize(record->additionalInfo); i < n; ++i) {
            if (const AdditionalInfo *info = seqAt(record->additionalInfo, i))
                addInfoRow(info->tag, fieldString(info->name), fieldString(info->value), false);
        }
    } else {
        for (const char *rowName : kNewRecorderRows)
            addInfoRow(-1, QLatin1String(rowName), QString(), false);
    }
    // The record's product kind does not choose the entry: editing starts at the first.
    m_productCombo->blockSignals(true);
    m_productCombo->setCurrentIndex(0);
    m_productCombo->blockSignals(false);
    m_lastProduct = 0;
    setTexts();
    applyProductDefaults();
}

void CServerSetupDlg::fillProducts()
{
    m_productCombo->blockSignals(true);
    m_productCombo->clear();
    for (const ProductEntry &product : readProductList())
        m_productCombo->addItem(product.name, static_cast<int>(product.kind));
    m_productCombo->blockSignals(false);
}

void CServerSetupDlg::setTexts()
{
    const auto text
        = [](const char *id, const char *category) { return Common::getString(id, category); };
    m_serverGroup->setTitle(text("serverInfo", "serverInfo"));
    m_nameLabel->setText(text("name", "serverInfo"));
    m_addressLabel->setText(text("address", "serverInfo"));
    m_portLabel->setText(text("port", "serverInfo"));
    m_productLabel->setText(text("product", "serverSetup"));
    m_loginLabel->setText(text("id", "serverInfo"));
    m_passwordLabel->setText(text("pass", "serverInfo"));
    m_infoGroup->setTitle(text("additionalInfo", "serverInfo"));
    m_infoList->setAccessibleName(m_infoGroup->title());
    m_newInfo->setText(text("new", "common"));
    m_deleteInfo->setText(text("delete", "common"));
    m_ok->setText(text("ok", "common"));
    m_cancel->setText(text("cancel", "common"));
    m_ddnsGroup->setTitle(text("ddnsInfo", "serverInfo"));
    m_ddnsAddressLabel->setText(text("address", "serverInfo"));
    m_ddnsIdLabel->setText(text("id", "serverInfo"));
    m_ddnsPasswordLabel->setText(text("pass", "serverInfo"));
    m_useDdns->setText(text("useDdns", "serverInfo"));
    m_test->setText(text("test", "serverInfo"));
    m_pairNameLabel->setText(text("name", "serverInfo"));
    m_pairValueLabel->setText(text("value", "serverInfo"));
    m_pairApply->setText(text("apply", "common"));
}

void CServerSetupDlg::applyProductDefaults()
{
    const int position = m_productCombo->currentIndex();
    const int port = m_portEdit->text().toInt();
    if (port != 0 && position == m_lastProduct)
        return;
    m_lastProduct = position;
    const ProductDefaults defaults = productDefaults(m_productCombo->currentData().toInt());
    m_portEdit->setText(QString::number(defaults.port));
    m_loginEdit->setText(QLatin1String(defaults.loginId));
    if (defaults.passwordToo)
        m_passwordEdit->setText(QLatin1String(defaults.loginId));
}

void CServerSetupDlg::addInfoRow(std::int32_t tag, const QString &name, const QString &value,
                                 bool atTop)
{
    auto *item = new QTreeWidgetItem({name, value});
    item->setData(0, Qt::UserRole, tag);
    if (atTop)
        m_infoList->insertTopLevelItem(0, item);
    else
        m_infoList->addTopLevelItem(item);
}

void CServerSetupDlg::openCellEditor(QTreeWidgetItem *item, int column)
{
    if (!item)
        return;
    closeCellEditor(true);
    m_editedItem = item;
    m_editedColumn = column;
    m_cellEditor->setGeometry(m_infoList->visualItemRect(item).intersected(
        QRect(m_infoList->header()->sectionViewportPosition(column), 0,
              m_infoList->header()->sectionSize(column), m_infoList->viewport()->height())));
    m_cellEditor->setText(item->text(column));
    m_cellEditor->show();
    m_cellEditor->setFocus();
    m_cellEditor->selectAll();
}

void CServerSetupDlg::closeCellEditor(bool keepText)
{
    if (!m_cellEditor->isVisible())
        return;
    // The remembered cell stays remembered, so that Delete still acts on its row.
    if (keepText && m_editedItem)
        m_editedItem->setText(m_editedColumn, m_cellEditor->text());
    m_cellEditor->hide();
}

bool CServerSetupDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_cellEditor && event->type() == QEvent::FocusOut) {
        closeCellEditor(true);
    } else if (watched == m_cellEditor && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Enter ends the edit rather than the dialog, Escape drops it, Tab moves to the value.
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
            || key->key() == Qt::Key_Escape) {
            closeCellEditor(key->key() != Qt::Key_Escape);
            m_infoList->setFocus();
            return true;
        }
        if (key->key() == Qt::Key_Tab && m_editedItem && m_editedColumn == 0) {
            openCellEditor(m_editedItem, 1);
            return true;
        }
    } else if (watched == m_infoList && event->type() == QEvent::KeyPress
               && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F2) {
        openCellEditor(m_infoList->currentItem(), 0);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CServerSetupDlg::OnNewInfo()
{
    closeCellEditor(true);
    addInfoRow(-1, QString(), QString(), false);
    QTreeWidgetItem *added = m_infoList->topLevelItem(m_infoList->topLevelItemCount() - 1);
    m_infoList->setCurrentItem(added);
    m_infoList->scrollToItem(added);
    openCellEditor(added, 0);
}

void CServerSetupDlg::OnDeleteInfo()
{
    if (!m_editedItem)
        return;
    m_cellEditor->hide();
    const QList<QTreeWidgetItem *> selected = m_infoList->selectedItems();
    if (!selected.isEmpty())
        delete selected.first();
    m_editedItem = nullptr;
    m_editedColumn = -1;
}

std::vector<InfoRow> CServerSetupDlg::infoRows() const
{
    std::vector<InfoRow> rows;
    rows.reserve(std::size_t(m_infoList->topLevelItemCount()));
    for (int i = 0; i < m_infoList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = m_infoList->topLevelItem(i);
        rows.push_back({item->data(0, Qt::UserRole).toInt(), item->text(0), item->text(1)});
    }
    return rows;
}

ServerFields CServerSetupDlg::fields() const
{
    ServerFields fields;
    fields.name = m_nameEdit->text().trimmed();
    fields.address = m_addressEdit->text().trimmed();
    fields.port = static_cast<std::uint16_t>(m_portEdit->text().toInt());
    fields.productKind = m_productCombo->currentData().toInt();
    fields.loginId = m_loginEdit->text();
    fields.password = m_passwordEdit->text();
    fields.useDdns = m_useDdns->isChecked();
    fields.ddnsAddress = m_ddnsAddress->text();
    fields.ddnsId = m_ddnsId->text();
    fields.ddnsPassword = m_ddnsPassword->text();
    return fields;
}

void CServerSetupDlg::refuse(ServerRefusal refusal)
{
    if (const char *key = messageKey(refusal))
        showMessage(this, Common::getString(key, "message"));
    (refusesAddress(refusal) ? m_addressEdit : m_nameEdit)->setFocus();
}

void CServerSetupDlg::accept()
{
    closeCellEditor(true);
    const ServerFields values = fields();
    ServerRecord *record = nullptr;
    if (m_name.isEmpty()) {
        ServerRefusal refusal = checkNewServer(m_servers, values.name, values.address, values.port);
        if (refusal == ServerRefusal::None) {
            const std::int32_t index = m_servers->createServer(values.name.toUtf8().constData());
            if (index < 0 || !m_servers->getServer(index, &record) || !record)
                refusal = ServerRefusal::CreateFailed;
        }
        if (refusal != ServerRefusal::None) {
            refuse(refusal);
            return;
        }
    } else {
        const ServerRefusal refusal
            = checkEditedServer(m_servers, m_name, values.name, values.address, values.port);
        if (refusal != ServerRefusal::None) {
            refuse(refusal);
            return;
        }
        if (!m_servers->findServer(m_name.toUtf8().constData(), &record) || !record) {
            refuse(ServerRefusal::CreateFailed);
            return;
        }
    }
    fillServerRecord(*record, values);
    replaceAdditionalInfo(*record, infoRows());
    done(kDialogOk);
}

void CServerSetupDlg::reject()
{
    done(kDialogCancel);
}
