#include "filter_edit.h"

#include "beep.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include <memory>

using setupmgr::EditFilter;

CFilterEdit::CFilterEdit(int maxLength, const QString &forbiddenChars, QWidget *parent)
    : QLineEdit(parent)
    , m_filter(maxLength, forbiddenChars)
{
    // Drops, input methods and undo bypass the key handler; what they bring in is filtered too.
    connect(this, &QLineEdit::textEdited, this, &CFilterEdit::filterEdited, Qt::DirectConnection);
    connect(
        this, &QLineEdit::textChanged, this, [this](const QString &text) { m_shown = text; },
        Qt::DirectConnection);
}

void CFilterEdit::SetForbiddenChars(const QString &forbiddenChars)
{
    if (m_filter.setForbiddenChars(forbiddenChars))
        refilter();
}

bool CFilterEdit::IsCharValid(QChar) const
{
    return true;
}

void CFilterEdit::setText(const QString &text)
{
    const int maxLength = m_filter.maxLength();
    QLineEdit::setText(maxLength > 0 ? text.left(maxLength) : text);
}

void CFilterEdit::refilter()
{
    const QString valid = GetValidText();
    if (valid != text())
        QLineEdit::setText(valid);
}

void CFilterEdit::filterEdited(const QString &text)
{
    if (m_pasting)
        return;
    int end = 0;
    const QString valid = m_filter.filterChange(m_shown, text, &end);
    if (valid == text)
        return;
    QLineEdit::setText(valid);
    setCursorPosition(end);
}

void CFilterEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteFiltered();
        event->accept();
        return;
    }
    // Only plain characters go through the filter; editing and shortcut keys keep the edit's
    // own handling.
    const QString typed = event->text();
    const bool plainCharacter = typed.size() == 1 && typed.at(0).unicode() >= 0x20
        && typed.at(0).unicode() != 0x7f
        && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (!plainCharacter) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QChar c = typed.at(0);
    const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
    switch (m_filter.typed(c, int(text().size()), caret, isReadOnly())) {
    case EditFilter::Typed::Refuse:
        setupmgr::beep();
        break;
    case EditFilter::Typed::Drop:
        break;
    case EditFilter::Typed::Overwrite:
        // A full text takes the character in place of the one at the caret (undoable).
        if (IsCharValid(c)) {
            setSelection(caret, 1);
            insert(QString(c));
        }
        break;
    case EditFilter::Typed::Insert:
        if (IsCharValid(c))
            QLineEdit::keyPressEvent(event);
        break;
    }
    event->accept();
}

void CFilterEdit::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    // The menu's Paste goes through the filter, as Ctrl+V does.
    if (auto *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"))) {
        disconnect(paste, nullptr, this, nullptr);
        connect(paste, &QAction::triggered, this, &CFilterEdit::pasteFiltered);
    }
    menu->exec(event->globalPos());
}

void CFilterEdit::pasteFiltered()
{
    if (isReadOnly())
        return;
    const bool hadSelection = hasSelectedText();
    const int start = hadSelection ? selectionStart() : cursorPosition();
    const int length = hadSelection ? int(selectedText().size()) : 0;
    const QString before = text();
    m_pasting = true;
    paste();
    m_pasting = false;
    const QString valid = m_filter.filterChange(before, text());
    if (valid == text())
        return;
    QLineEdit::setText(valid);
    if (length > 0)
        setSelection(start, length);
    else
        setCursorPosition(start);
}
