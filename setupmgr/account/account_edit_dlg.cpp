#include "account_edit_dlg.h"

#include "controls/control_factory.h"
#include "controls/dialog_style.h"
#include "controls/filter_edit.h"
#include "controls/utf8_limit_validator.h"

#include <ostrel/setup_manager.h>

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <tuple>

namespace setupmgr {

namespace {
enum ControlId { kOkButton = 1, kCancelButton = 2 };

// The controls of a layout that Tab stops at, in the layout's order, nested layouts included.
void collectFocusable(QLayout *layout, QList<QWidget *> &controls)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (QWidget *widget = item->widget(); widget && (widget->focusPolicy() & Qt::TabFocus))
            controls << widget;
        else if (QLayout *inner = item->layout())
            collectFocusable(inner, controls);
    }
}

} // namespace

AccountEditDialog::AccountEditDialog(const QString &stringFile, int messageLineId, int widthUnits,
                                     int heightUnits, QWidget *parent)
    : QDialog(parent)
    , m_strings(stringFile)
    , m_fields(new QGridLayout)
    , m_message(new QLabel(this))
{
    markControl(m_message, messageLineId, "messageLine");
    makeMessageLine(m_message);
    std::tie(m_ok, m_cancel) = makeOkCancel(this, kOkButton, kCancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_fields);
    layout->addWidget(m_message);
    layout->addStretch();
    layout->addLayout(makeButtonRow({m_ok, m_cancel}));
    setUpDialog(this, widthUnits, heightUnits);
}

void AccountEditDialog::showEvent(QShowEvent *event)
{
    if (firstShow(m_initialised)) {
        if (m_idEdit)
            m_idEdit->SetForbiddenChars(QString::fromLatin1(kForbiddenIdChars));
        initDialog();
        orderFocus();
    }
    QDialog::showEvent(event);
}

void AccountEditDialog::orderFocus()
{
    // OK and Cancel exist before the fields; left alone, Tab would visit them first and the
    // dialog would open on OK.
    QList<QWidget *> controls;
    collectFocusable(m_fields, controls);
    controls << m_ok << m_cancel;
    for (qsizetype i = 1; i < controls.size(); ++i)
        setTabOrder(controls.at(i - 1), controls.at(i));
    for (QWidget *control : std::as_const(controls)) {
        if (control->isEnabled()) {
            control->setFocus();
            break;
        }
    }
}

QLineEdit *AccountEditDialog::makeFieldEdit(int controlId, const char *objectName, int fieldSize)
{
    auto *edit = new QLineEdit(this);
    markControl(edit, controlId, objectName);
    limitToField(edit, fieldSize);
    return edit;
}

CFilterEdit *AccountEditDialog::makeIdEdit(int controlId, int fieldSize)
{
    // Constructed with the short set; the full one replaces it when the dialog opens.
    m_idEdit = new CFilterEdit(0, QString::fromLatin1(kInitialForbiddenChars), this);
    markControl(m_idEdit, controlId, "idEdit");
    limitToField(m_idEdit, fieldSize);
    return m_idEdit;
}

void AccountEditDialog::refuse(IdError error, QWidget *field)
{
    m_message->setText(m_strings.getString(messageKey(error), "message"));
    field->setFocus();
}

void AccountEditDialog::setCommonTexts(bool modifying)
{
    setWindowTitle(m_strings.getString(modifying ? "title_modify" : "title_new", "label"));
    m_ok->setText(m_strings.getString("ok", "label"));
    m_cancel->setText(m_strings.getString("cancel", "label"));
}

void AccountEditDialog::accept()
{
    if (!store())
        return;
    m_message->clear();
    done(kDialogOk);
}

void AccountEditDialog::reject()
{
    done(kDialogCancel);
}

} // namespace setupmgr
