#include "tree_options_edit.h"

#include "controls/beep.h"
#include "tree_options_browse_button.h"
#include "tree_options_file_dialog.h"

#include <QDir>
#include <QKeyEvent>

#include <limits>

using namespace setupmgr::editorstyle;

CTreeOptionsEdit::CTreeOptionsEdit(QWidget *parent)
    : OptionEditor(parent)
{ }

Style CTreeOptionsEdit::GetEditorStyle() const
{
    return kChild | kVisible | kEditAutoHScroll;
}

int CTreeOptionsEdit::GetEditorHeight(int labelHeight) const
{
    return qMax(labelHeight, kMinEditorHeight);
}

bool CTreeOptionsEdit::PickFolder(const QString &initialText)
{
    // The tree, and this edit with it, may go while the chooser runs.
    const QPointer<CTreeOptionsEdit> self(this);
    setupmgr::TreeChooser chooser(new QFileDialog(m_tree, GetFolderPickerTitle(), initialText));
    chooser->setFileMode(QFileDialog::Directory);
    chooser->setOption(QFileDialog::ShowDirsOnly);
    // Only a folder of the file system has a path to show.
    const QString folder
        = chooser.exec() ? chooser->selectedUrls().value(0).toLocalFile() : QString();
    if (!self || folder.isEmpty())
        return false;
    setText(QDir::toNativeSeparators(folder));
    return true;
}

bool CTreeOptionsEdit::PickFile(const QString &initialText)
{
    const QPointer<CTreeOptionsEdit> self(this);
    // The dialog may wander to another folder; the process's own stays where it was.
    const QString workingFolder = QDir::currentPath();
    setupmgr::TreeChooser chooser(
        new CTreeOptionsFileDialog(m_tree, GetFilePickerTitle(), initialText, GetFileFilter()));
    const QString file = chooser.exec() ? chooser->selectedFiles().value(0) : QString();
    QDir::setCurrent(workingFolder);
    if (!self || file.isEmpty())
        return false;
    setText(QDir::toNativeSeparators(file));
    return true;
}

QString CTreeOptionsEdit::GetFolderPickerTitle() const
{
    return QStringLiteral("Please specify a folder");
}

QString CTreeOptionsEdit::GetFilePickerTitle() const
{
    return QStringLiteral("Please specify a file");
}

QString CTreeOptionsEdit::GetFileFilter() const
{
    return QStringLiteral("All Files (*.*)|*.*||");
}

QString CTreeOptionsEdit::FormatValue(const QString &text) const
{
    // A line ends at a carriage return, or at the line feed a Qt text field uses alone.
    qsizetype end = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\r') || text.at(i) == QLatin1Char('\n')) {
            end = i;
            break;
        }
    }
    return end < 0 ? text : text.left(end) % QLatin1String("...");
}

void CTreeOptionsEdit::ModifyStyle(Style remove, Style add)
{
    m_style = (m_style & ~remove) | add;
    setEchoMode(has(m_style, kEditPassword) ? QLineEdit::Password : QLineEdit::Normal);
}

bool CTreeOptionsEdit::keepsEditFor(const QWidget *window) const
{
    return OptionEditorLink::keepsEditFor(window) || setupmgr::isInside(window, m_frame);
}

QWidget *CTreeOptionsEdit::tabTarget() const
{
    if (auto *button = qobject_cast<CTreeOptionsBrowseButton *>(companion()))
        return button;
    return m_tree;
}

bool CTreeOptionsEdit::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress && has(m_style, kEditNumber)) {
        // Digits only, as typed; anything else printable is refused with the beep.
        const QString text = static_cast<QKeyEvent *>(event)->text();
        if (text.size() == 1 && text.at(0).isPrint() && !text.at(0).isDigit()) {
            setupmgr::beep();
            return true;
        }
    }
    return OptionEditor::event(event);
}

namespace setupmgr {

qint64 heldInBounds(qint64 value, qint64 lower, qint64 upper)
{
    if (value < lower)
        return lower;
    if (value > upper)
        return upper;
    return value;
}

qint64 leadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size()
           && (text.at(i) == QLatin1Char(' ')
               || (text.at(i) >= QLatin1Char('\t') && text.at(i) <= QLatin1Char('\r'))))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    constexpr qint64 kCap = std::numeric_limits<qint32>::max() + qint64(1);
    for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'); ++i)
        value = qMin(kCap, value * 10 + (text.at(i).unicode() - '0'));
    return negative ? -value : value;
}

} // namespace setupmgr
