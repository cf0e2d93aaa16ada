#include "tree_options_browse_button.h"

#include "tree_options_edit.h"
#include "tree_options_file_dialog.h"
#include "tree_options_multi_line_frame.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QFontMetrics>

namespace {
constexpr int kWidthWithoutTree = 20;
} // namespace

CTreeOptionsBrowseButton::CTreeOptionsBrowseButton(QWidget *parent)
    : OptionEditor(parent)
{
    setText(QStringLiteral("..."));
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &CTreeOptionsBrowseButton::onClicked);
}

QString CTreeOptionsBrowseButton::GetCaption() const
{
    return QStringLiteral("...");
}

int CTreeOptionsBrowseButton::GetButtonWidth() const
{
    if (!m_tree)
        return kWidthWithoutTree;
    const QFontMetrics metrics(m_tree->font());
    return metrics.horizontalAdvance(QStringLiteral("    "))
        + metrics.horizontalAdvance(GetCaption());
}

bool CTreeOptionsBrowseButton::keepsEditFor(const QWidget *window) const
{
    if (!companion())
        return true;
    if (const CTreeOptionsEdit *edit = servedEdit(); edit && edit->isBrowsing())
        return true;
    return OptionEditorLink::keepsEditFor(window);
}

void CTreeOptionsBrowseButton::PickCustom() { }

CTreeOptionsEdit *CTreeOptionsBrowseButton::servedEdit() const
{
    return qobject_cast<CTreeOptionsEdit *>(companion());
}

bool CTreeOptionsBrowseButton::isOpen() const
{
    return m_tree && m_row && m_tree->isOpenEditor(this);
}

void CTreeOptionsBrowseButton::onClicked()
{
    // A closed button waits for its deferred deletion; a click that reaches it does nothing.
    if (!isOpen())
        return;
    const OptionItemData *record = m_tree->GetItemRecord(m_row);
    if (!record)
        return;
    switch (record->kind) {
    case OptionItemKind::FileEdit:
    case OptionItemKind::FolderEdit:
        if (auto *frame = qobject_cast<CMultiLineEditFrameWnd *>(companion()))
            frame->setFocus(Qt::OtherFocusReason);
        else
            browseForEdit(record->kind == OptionItemKind::FolderEdit);
        break;
    case OptionItemKind::Colour:
        pickColour();
        break;
    case OptionItemKind::Font:
        pickFont();
        break;
    case OptionItemKind::CustomBrowse:
        PickCustom();
        break;
    default:
        break;
    }
}

void CTreeOptionsBrowseButton::browseForEdit(bool folder)
{
    const QPointer<CTreeOptionsEdit> edit = servedEdit();
    if (!edit)
        return;
    // While the chooser runs, the focus it takes does not end the edit.
    edit->setBrowsing(true);
    if (folder)
        edit->PickFolder(edit->text());
    else
        edit->PickFile(edit->text());
    if (edit)
        edit->setBrowsing(false);
}

void CTreeOptionsBrowseButton::pickColour()
{
    // The tree may go while the chooser runs, or only end the edit; either way the choice has no
    // row left to go to.
    const QPointer<CTreeOptionsBrowseButton> self(this);
    setupmgr::TreeChooser chooser(new QColorDialog(m_colour, m_tree));
    if (!chooser.exec() || !self || !isOpen())
        return;
    const QColor chosen = chooser->selectedColor();
    if (!chosen.isValid())
        return;
    m_colour = chosen;
    m_tree->SetColor(m_row, chosen);
    // This button goes with the editors; it must have returned from its click first.
    m_tree->PostRefreshEditors();
}

void CTreeOptionsBrowseButton::pickFont()
{
    const QPointer<CTreeOptionsBrowseButton> self(this);
    setupmgr::TreeChooser chooser(new QFontDialog(m_font, m_tree));
    if (!chooser.exec() || !self || !isOpen())
        return;
    m_font = chooser->selectedFont();
    m_tree->SetFontValue(m_row, m_font);
    m_tree->PostRefreshEditors();
}
