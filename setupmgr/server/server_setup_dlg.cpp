#include "server_setup_dlg.h"

#include "common/language.h"
#include "common/module_log.h"
#include "common/product_names.h"
#include "common/text_field.h"
#include "controls/beep.h"
#include "controls/control_factory.h"
#include "controls/dialog_style.h"
#include "controls/filter_edit.h"
#include "controls/messages.h"
#include "controls/utf8_limit_validator.h"

#include <ostrel/setup_manager.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <tuple>

using namespace setupmgr;

namespace {

enum ControlId { kOkButton = 1, kCancelButton = 2 };

QColor cellEditorColor()
{
    return QColor(255, 255, 225);
}

// The rows the list shows for a new recorder, top to bottom.
constexpr const char *kNewRecorderRows[] = {"Fire Dept", "Police", "Fax", "Phone", "Manager"};
// Login texts keep to 49 bytes; the other texts fill their 51-byte fields.
constexpr int kLoginFieldSize = kLoginFieldLength + 1;

// An information row's position among the record's entries it shows, when it shows one.
constexpr int kOriginalRole = Qt::UserRole + 1;

// Digits of a TCP port, 0 to 65535: a digit that would leave the range is refused as it is typed,
// with the beep, never wrapped.
class PortValidator final : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &text, int &) const override
    {
        bool number = true;
        const uint port = text.isEmpty() ? 0 : text.toUInt(&number);
        if (number && port <= 65535 && !text.contains(QLatin1Char('+')))
            return Acceptable;
        beep();
        return Invalid;
    }
};

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

QLabel *makeBuddyLabel(QWidget *parent, const char *text, const char *objectName, QWidget *buddy)
{
    return makeLabel(parent, text, -1, objectName, buddy);
}

// The additional information: Tab walks the cells row by row, name then value, as in a table;
// F2 edits the current row's name, whichever of its cells is current.
class InfoList final : public QTreeWidget
{
public:
    using QTreeWidget::edit;
    using QTreeWidget::QTreeWidget;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override
    {
        const QModelIndex current = currentIndex();
        if (!current.isValid() || (action != MoveNext && action != MovePrevious))
            return QTreeWidget::moveCursor(action, modifiers);
        const int cell = current.row() * 2 + current.column() + (action == MoveNext ? 1 : -1);
        return cell < 0 ? QModelIndex() : model()->index(cell / 2, cell % 2);
    }

    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override
    {
        if (trigger != EditKeyPressed)
            return QTreeWidget::edit(index, trigger, event);
        // The name becomes current, so that Tab moves on from it.
        const QModelIndex name = index.siblingAtColumn(0);
        selectionModel()->setCurrentIndex(name, QItemSelectionModel::NoUpdate);
        return QTreeWidget::edit(name, trigger, event);
    }
};

} // namespace

// The cell editor: a bordered line edit on light yellow, held to the bytes of an entry's field.
// The view places it and ends it (Enter, Escape, Tab, the focus leaving); the delegate
// remembers that a cell was edited, since Delete acts only then.
class CServerSetupDlg::CellDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &) const override
    {
        auto *editor = new QLineEdit(parent);
        markControl(editor, -1, "cellEditor");
        editor->setAccessibleName(QStringLiteral("Cell"));
        editor->setFrame(true);
        limitToField(editor, sizeof(AdditionalInfo::name));
        QPalette yellow = editor->palette();
        yellow.setColor(QPalette::Base, cellEditorColor());
        editor->setPalette(yellow);
        m_editor = editor;
        m_remembered = true;
        return editor;
    }

    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        // It is deleted later: only the open editor answers to the name.
        editor->setObjectName(QString());
        m_editor = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    // Ends the open edit, if any, keeping its text or dropping it.
    void finishEditing(bool keepText)
    {
        if (!m_editor)
            return;
        QWidget *editor = m_editor;
        if (keepText)
            emit commitData(editor);
        emit closeEditor(editor);
    }

    bool remembers() const { return m_remembered; }
    void forget() { m_remembered = false; }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        // Enter ends the edit at once, and never reaches the dialog's default button.
        const auto *key
            = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent *>(event) : nullptr;
        if (key && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            finishEditing(true);
            return true;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    mutable QPointer<QWidget> m_editor;
    mutable bool m_remembered = false;
};

CServerSetupDlg::CServerSetupDlg(IServerListProvider *servers, std::int32_t index, QWidget *parent)
    : QDialog(parent)
    , m_servers(servers)
    , m_index(index)
{
    setWindowTitle(QStringLiteral("DVR Information"));
    buildServerGroup();
    buildInfoGroup();
    buildButtons();
    buildHiddenControls();
    auto *groups = new QHBoxLayout;
    groups->addWidget(m_serverGroup, 1);
    groups->addWidget(m_infoGroup, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(groups, 1);
    layout->addLayout(makeButtonRow({m_ok, m_cancel}));
    setUpDialog(this, 314, 180);
    const QWidget *order[]
        = {m_nameEdit, m_addressEdit, m_portEdit,   m_productCombo, m_loginEdit, m_passwordEdit,
           m_infoList, m_newInfo,     m_deleteInfo, m_ok,           m_cancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(const_cast<QWidget *>(order[i - 1]), const_cast<QWidget *>(order[i]));

    connect(m_productCombo, &QComboBox::currentIndexChanged, this,
            &CServerSetupDlg::applyProductDefaults);
    // One click edits a cell: the view's own click trigger waits for a second click, and only
    // on a row already selected.
    connect(m_infoList, &QAbstractItemView::clicked, m_infoList,
            qOverload<const QModelIndex &>(&QAbstractItemView::edit));
    connect(m_newInfo, &QPushButton::clicked, this, &CServerSetupDlg::OnNewInfo);
    connect(m_deleteInfo, &QPushButton::clicked, this, &CServerSetupDlg::OnDeleteInfo);
}

void CServerSetupDlg::buildServerGroup()
{
    m_serverGroup = new QGroupBox(QStringLiteral("DVR Information"), this);
    markControl(m_serverGroup, -1, "serverInfoGroup");
    m_nameEdit = makeFilterEdit(m_serverGroup, "nameEdit");
    m_addressEdit = makeFilterEdit(m_serverGroup, "addressEdit");
    m_portEdit = new QLineEdit(m_serverGroup);
    markControl(m_portEdit, -1, "portEdit");
    m_portEdit->setValidator(new PortValidator(m_portEdit));
    m_productCombo = new QComboBox(m_serverGroup);
    markControl(m_productCombo, -1, "productCombo");
    m_loginEdit = makeEdit(m_serverGroup, "loginIdEdit", kLoginFieldSize);
    m_passwordEdit = makeEdit(m_serverGroup, "passwordEdit", kLoginFieldSize);
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_nameLabel = makeBuddyLabel(m_serverGroup, "&Name:", "nameLabel", m_nameEdit);
    m_addressLabel = makeBuddyLabel(m_serverGroup, "&Address:", "addressLabel", m_addressEdit);
    m_portLabel = makeBuddyLabel(m_serverGroup, "&Port:", "portLabel", m_portEdit);
    m_productLabel = makeBuddyLabel(m_serverGroup, "P&roduct:", "productLabel", m_productCombo);
    m_loginLabel = makeBuddyLabel(m_serverGroup, "Login &ID:", "loginIdLabel", m_loginEdit);
    m_passwordLabel = makeBuddyLabel(m_serverGroup, "Pass&word:", "passwordLabel", m_passwordEdit);
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
}

void CServerSetupDlg::buildInfoGroup()
{
    m_infoGroup = new QGroupBox(QStringLiteral("Additional Information"), this);
    markControl(m_infoGroup, -1, "additionalInfoGroup");
    m_infoList = new InfoList(m_infoGroup);
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
    m_infoList->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_cells = new CellDelegate(m_infoList);
    m_infoList->setItemDelegate(m_cells);
    m_infoList->header()->setSectionsMovable(false);
    m_newInfo = makeButton(m_infoGroup, "N&ew", -1, "newButton");
    m_deleteInfo = makeButton(m_infoGroup, "&Delete", -1, "deleteButton");
    auto *infoButtons = new QHBoxLayout;
    infoButtons->addStretch();
    infoButtons->addWidget(m_newInfo);
    infoButtons->addWidget(m_deleteInfo);
    auto *infoLayout = new QVBoxLayout(m_infoGroup);
    infoLayout->addWidget(m_infoList, 1);
    infoLayout->addLayout(infoButtons);
}

void CServerSetupDlg::buildButtons()
{
    std::tie(m_ok, m_cancel) = makeOkCancel(this, kOkButton, kCancelButton);
}

void CServerSetupDlg::buildHiddenControls()
{
    // Never shown, and kept outside the visible area as the template keeps them.
    m_ddnsGroup = new QGroupBox(QStringLiteral("DDNS Information"), this);
    markControl(m_ddnsGroup, -1, "ddnsGroup");
    m_useDdns = new QCheckBox(QStringLiteral("&Use DDNS"), m_ddnsGroup);
    markControl(m_useDdns, -1, "useDdnsCheck");
    m_ddnsAddress = makeEdit(m_ddnsGroup, "ddnsAddressEdit", kLoginFieldSize);
    m_ddnsId = makeEdit(m_ddnsGroup, "ddnsIdEdit", kLoginFieldSize);
    m_ddnsPassword = makeEdit(m_ddnsGroup, "ddnsPasswordEdit", kLoginFieldSize);
    m_ddnsPassword->setEchoMode(QLineEdit::Password);
    m_ddnsAddressLabel = makeBuddyLabel(m_ddnsGroup, "Address:", "ddnsAddressLabel", m_ddnsAddress);
    m_ddnsIdLabel = makeBuddyLabel(m_ddnsGroup, "ID:", "ddnsIdLabel", m_ddnsId);
    m_ddnsPasswordLabel
        = makeBuddyLabel(m_ddnsGroup, "Password:", "ddnsPasswordLabel", m_ddnsPassword);
    m_test = makeButton(m_ddnsGroup, "Test", -1, "testButton");
    m_pairName = makeEdit(m_ddnsGroup, "pairNameEdit", sizeof(AdditionalInfo::name));
    m_pairValue = makeEdit(m_ddnsGroup, "pairValueEdit", sizeof(AdditionalInfo::value));
    m_pairNameLabel = makeBuddyLabel(m_ddnsGroup, "Name:", "pairNameLabel", m_pairName);
    m_pairValueLabel = makeBuddyLabel(m_ddnsGroup, "Value:", "pairValueLabel", m_pairValue);
    m_pairApply = makeButton(m_ddnsGroup, "Apply", -1, "applyButton");
    m_ddnsGroup->setGeometry(-1000, -1000, 10, 10);
    m_ddnsGroup->hide();
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
    if (editing() && m_servers && m_servers->getServer(m_index, &record) && record) {
        loadRecord(*record);
    } else {
        for (const char *rowName : kNewRecorderRows)
            addInfoRow(-1, QLatin1String(rowName), QString());
        m_loadedProduct = 0;
    }
    {
        const QSignalBlocker blocker(m_productCombo);
        m_productCombo->setCurrentIndex(m_loadedProduct);
    }
    m_lastProduct = m_loadedProduct;
    setTexts();
    // An edited record shows its own values; the product's defaults come with a change of the
    // product only, so that a record the user just looks at stays as it is.
    if (!editing())
        applyProductDefaults();
}

void CServerSetupDlg::loadRecord(const ServerRecord &record)
{
    m_loaded.load(m_nameEdit, record.name);
    m_loaded.load(m_addressEdit, record.address);
    m_loaded.load(m_portEdit, QString::number(record.port));
    m_loaded.load(m_loginEdit, record.loginId);
    m_loaded.load(m_passwordEdit, record.password);
    m_loaded.load(m_ddnsAddress, record.ddnsAddress);
    m_loaded.load(m_ddnsId, record.ddnsId);
    m_loaded.load(m_ddnsPassword, record.ddnsPassword);
    m_loadedName = fieldBytes(record.name);
    m_loadedUseDdns = record.useDdns != 0;
    m_useDdns->setChecked(m_loadedUseDdns);
    for (std::size_t i = 0, n = seqSize(record.additionalInfo); i < n; ++i) {
        if (const AdditionalInfo *info = seqAt(record.additionalInfo, i)) {
            addInfoRow(info->tag, fieldString(info->name), fieldString(info->value))
                ->setData(0, kOriginalRole, int(m_loadedInfo.size()));
            m_loadedInfo.push_back(*info);
        }
    }
    // The record's own product entry (the first when the list has none of its kind), so that
    // OK without a change keeps its kind.
    m_loadedProduct = std::max(0, m_productCombo->findData(int(record.productKind)));
}

void CServerSetupDlg::fillProducts()
{
    const QSignalBlocker blocker(m_productCombo);
    m_productCombo->clear();
    for (const ProductEntry &product : readProductList())
        m_productCombo->addItem(product.name, static_cast<int>(product.kind));
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

QTreeWidgetItem *CServerSetupDlg::addInfoRow(std::int32_t tag, const QString &name,
                                             const QString &value)
{
    auto *item = new QTreeWidgetItem({name, value});
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setData(0, Qt::UserRole, tag);
    m_infoList->addTopLevelItem(item);
    return item;
}

void CServerSetupDlg::OnNewInfo()
{
    m_cells->finishEditing(true);
    QTreeWidgetItem *added = addInfoRow(-1, QString(), QString());
    m_infoList->setCurrentItem(added);
    m_infoList->scrollToItem(added);
    m_infoList->editItem(added, 0);
}

void CServerSetupDlg::OnDeleteInfo()
{
    if (!m_cells->remembers())
        return;
    m_cells->finishEditing(false);
    const QList<QTreeWidgetItem *> selected = m_infoList->selectedItems();
    if (!selected.isEmpty())
        delete selected.first();
    m_cells->forget();
}

std::vector<InfoRow> CServerSetupDlg::infoRows() const
{
    std::vector<InfoRow> rows;
    rows.reserve(std::size_t(m_infoList->topLevelItemCount()));
    for (int i = 0; i < m_infoList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = m_infoList->topLevelItem(i);
        InfoRow row {item->data(0, Qt::UserRole).toInt(), item->text(0), item->text(1), {}};
        bool shown = false;
        const int original = item->data(0, kOriginalRole).toInt(&shown);
        if (shown && original >= 0 && std::size_t(original) < m_loadedInfo.size()) {
            const AdditionalInfo &info = m_loadedInfo[std::size_t(original)];
            if (row.name == fieldString(info.name) && row.value == fieldString(info.value))
                row.original = info;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

ServerFields CServerSetupDlg::fields() const
{
    const auto text = [this](const QLineEdit *edit, bool trimmed) -> std::optional<QString> {
        if (!m_loaded.changed(edit))
            return std::nullopt;
        return trimmed ? trimmedServerText(edit->text()) : edit->text();
    };
    ServerFields fields;
    fields.name = text(m_nameEdit, true);
    fields.address = text(m_addressEdit, true);
    if (m_loaded.changed(m_portEdit))
        fields.port = static_cast<std::uint16_t>(m_portEdit->text().toUInt());
    if (!editing() || m_productCombo->currentIndex() != m_loadedProduct)
        fields.productKind = m_productCombo->currentData().toInt();
    fields.loginId = text(m_loginEdit, false);
    fields.password = text(m_passwordEdit, false);
    if (!editing() || m_useDdns->isChecked() != m_loadedUseDdns)
        fields.useDdns = m_useDdns->isChecked();
    fields.ddnsAddress = text(m_ddnsAddress, false);
    fields.ddnsId = text(m_ddnsId, false);
    fields.ddnsPassword = text(m_ddnsPassword, false);
    return fields;
}

void CServerSetupDlg::refuse(ServerRefusal refusal)
{
    if (const char *key = messageKey(refusal))
        showMessage(this, Common::getString(key, "message"));
    (refusesAddress(refusal) ? m_addressEdit : m_nameEdit)->setFocus();
}

bool CServerSetupDlg::store(ServerRecord &record, const ServerFields &values)
{
    // The information first: it is the one step that can fail, and it fails as a whole.
    if (!replaceAdditionalInfo(record, infoRows()))
        return false;
    fillServerRecord(record, values);
    return true;
}

void CServerSetupDlg::accept()
{
    m_cells->finishEditing(true);
    const ServerFields values = fields();
    const std::uint16_t port = values.port.value_or(0);
    if (!editing()) {
        const QByteArray name
            = storedBytes<sizeof(ServerRecord::name)>(values.name.value_or(QString()));
        ServerRefusal refusal = checkNewServer(
            m_servers, name,
            storedBytes<sizeof(ServerRecord::address)>(values.address.value_or(QString())), port);
        ServerRecord *record = nullptr;
        if (refusal == ServerRefusal::None) {
            const std::int32_t index = m_servers->createServer(name.constData());
            const bool created = index >= 0;
            if (!created || !m_servers->getServer(index, &record) || !record
                || !store(*record, values)) {
                // No record the user cannot see: the name was free, so the first record of that
                // name is the one just made.
                if (created && !m_servers->removeServer(name.constData()))
                    Common::writeLog("A new recorder could not be filled nor removed again");
                refusal = ServerRefusal::CreateFailed;
            }
        }
        if (refusal != ServerRefusal::None) {
            refuse(refusal);
            return;
        }
        done(kDialogOk);
        return;
    }

    ServerRecord *record = nullptr;
    if (!m_servers || !m_servers->getServer(m_index, &record) || !record) {
        refuse(ServerRefusal::CreateFailed);
        return;
    }
    ServerChange change;
    change.edited = m_index;
    change.currentName = fieldBytes(record->name);
    change.nameChanged = values.name.has_value();
    change.name = change.nameChanged ? storedBytes<sizeof(ServerRecord::name)>(*values.name)
                                     : change.currentName;
    change.addressChanged = values.address.has_value() || values.port.has_value();
    change.address = values.address ? storedBytes<sizeof(ServerRecord::address)>(*values.address)
                                    : fieldBytes(record->address);
    change.port = values.port.value_or(record->port);
    const ServerRefusal refusal = checkEditedServer(m_servers, change);
    if (refusal != ServerRefusal::None) {
        refuse(refusal);
        return;
    }
    // The checks only read the list; the record is fetched again all the same, since a host
    // may hand out its records anew.
    if (!m_servers->getServer(m_index, &record) || !record || !store(*record, values)) {
        refuse(ServerRefusal::CreateFailed);
        return;
    }
    done(kDialogOk);
}

void CServerSetupDlg::reject()
{
    done(kDialogCancel);
}
