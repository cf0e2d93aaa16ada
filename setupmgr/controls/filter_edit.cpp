#include "filter_edit.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include <memory>

CFilterEdit::CFilterEdit(int maxLength, const QString &forbiddenChars, QWidget *parent)
    : QLineEdit(parent)
    , m_behavior(this, maxLength, forbiddenChars)
{
    connect(this, &QLineEdit::textChanged, this, &CFilterEdit::onTextChanged, Qt::DirectConnection);
}

void CFilterEdit::SetForbiddenChars(const QString &forbiddenChars)
{
    m_behavior.SetForbiddenChars(forbiddenChars);
}

bool CFilterEdit::IsCharValid(QChar) const
{
    return true;
}

void CFilterEdit::setText(const QString &text)
{
    QLineEdit::setText(text);
    m_behavior.Refilter();
}

void CFilterEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        m_behavior.OnPaste();
        event->accept();
        return;
    }
    if (m_behavior.OnKeyDown(event)) {
        event->accept();
        return;
    }
    // Only plain characters go through the filter; editing and shortcut keys keep the edit's
    // own handling.
    const QString text = event->text();
    const bool plainCharacter = text.size() == 1 && text.at(0).unicode() >= 0x20
        && text.at(0).unicode() != 0x7f
        && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (plainCharacter && m_behavior.OnChar(text.at(0))) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CFilterEdit::focusOutEvent(QFocusEvent *event)
{
    m_behavior.OnKillFocus();
    QLineEdit::focusOutEvent(event);
}

void CFilterEdit::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    // The menu's Paste goes through the filter, as Ctrl+V does.
    if (auto *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"))) {
        disconnect(paste, nullptr, this, nullptr);
        connect(paste, &QAction::triggered, this, [this] { m_behavior.OnPaste(); });
    }
    menu->exec(event->globalPos());
}

void CFilterEdit::onTextChanged()
{
    if (m_refiltering || m_behavior.pasting())
        return;
    m_refiltering = true;
    m_behavior.Refilter();
    m_refiltering = false;
}
