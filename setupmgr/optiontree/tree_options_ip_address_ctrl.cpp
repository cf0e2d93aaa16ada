#include "tree_options_ip_address_ctrl.h"

#include "controls/beep.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

using namespace setupmgr::editorstyle;

namespace {
constexpr int kOctetMax = 255;
constexpr int kOctetDigits = 3;
} // namespace

CTreeOptionsIPAddressCtrl::CTreeOptionsIPAddressCtrl(QWidget *parent)
    : QWidget(parent)
    , OptionEditorLink(this)
{
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(0);
    for (int i = 0; i < 4; ++i) {
        auto *field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("octet%1").arg(i + 1));
        field->setAccessibleName(QStringLiteral("Octet %1").arg(i + 1));
        field->setMaxLength(kOctetDigits);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i] { onFieldEdited(i); });
        m_fields[i] = field;
        layout->addWidget(field, 1);
        if (i < 3)
            layout->addWidget(new QLabel(QStringLiteral("."), this));
    }
    setFocusProxy(m_fields[0]);
}

Style CTreeOptionsIPAddressCtrl::GetEditorStyle() const
{
    return kChild | kVisible;
}

QString CTreeOptionsIPAddressCtrl::GetDisplayText(quint32 address) const
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg((address >> 24) & 0xff)
        .arg((address >> 16) & 0xff)
        .arg((address >> 8) & 0xff)
        .arg(address & 0xff);
}

void CTreeOptionsIPAddressCtrl::SetAddress(quint32 address)
{
    for (int i = 0; i < 4; ++i)
        m_fields[i]->setText(QString::number((address >> (24 - 8 * i)) & 0xff));
}

int CTreeOptionsIPAddressCtrl::GetAddress(quint32 *address) const
{
    int filled = 0;
    quint32 value = 0;
    for (int i = 0; i < 4; ++i) {
        const QString text = m_fields[i]->text();
        if (!text.isEmpty())
            ++filled;
        value = (value << 8) | quint32(qBound(0, text.toInt(), kOctetMax));
    }
    if (address)
        *address = value;
    return filled;
}

bool CTreeOptionsIPAddressCtrl::IsBlank() const
{
    quint32 ignored = 0;
    return GetAddress(&ignored) == 0;
}

void CTreeOptionsIPAddressCtrl::onFieldEdited(int index)
{
    QLineEdit *field = m_fields[index];
    if (field->text().toInt() > kOctetMax) {
        setupmgr::beep();
        field->setText(QString::number(kOctetMax));
    }
    if (field->text().size() == kOctetDigits && index < 3) {
        m_fields[index + 1]->setFocus(Qt::TabFocusReason);
        m_fields[index + 1]->selectAll();
    }
}

bool CTreeOptionsIPAddressCtrl::eventFilter(QObject *watched, QEvent *event)
{
    const auto found = std::find(m_fields.begin(), m_fields.end(), watched);
    if (found == m_fields.end())
        return QWidget::eventFilter(watched, event);
    const int index = int(found - m_fields.begin());
    QLineEdit *field = *found;

    if (fieldEvent(event))
        return true;
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    if (text == QLatin1String(".")) {
        // A dot closes a field the user has typed a number into and moves on; right after the
        // move that three digits made, the next field is still all selected and it is ignored.
        const bool typedInto = !field->text().isEmpty() && field->selectedText() != field->text();
        if (typedInto && index < 3) {
            m_fields[index + 1]->setFocus(Qt::TabFocusReason);
            m_fields[index + 1]->selectAll();
        }
        return true;
    }
    if (key->key() == Qt::Key_Backspace && field->cursorPosition() == 0 && !field->hasSelectedText()
        && index > 0) {
        m_fields[index - 1]->setFocus(Qt::BacktabFocusReason);
        m_fields[index - 1]->end(false);
        return true;
    }
    if (text.size() == 1 && text.at(0).isPrint() && !text.at(0).isDigit()) {
        setupmgr::beep();
        return true;
    }
    return false;
}
