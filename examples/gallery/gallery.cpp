#include "gallery.h"

#include "common/language.h"
#include "controls/image_list.h"
#include "optiontree/tree_options_browse_button.h"
#include "optiontree/tree_options_combo.h"
#include "optiontree/tree_options_date_ctrl.h"
#include "optiontree/tree_options_ip_address_ctrl.h"
#include "optiontree/tree_options_multi_line_frame.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace gallery {

namespace {

constexpr int kImageSize = 20;
constexpr int kNotesLines = 4;
enum Image { kValueImage = 0, kGroupImage = 1, kOpenGroupImage = 2 };

} // namespace

NotesEdit::NotesEdit(QWidget *parent)
    : CTreeOptionsEdit(parent)
{ }

setupmgr::editorstyle::Style NotesEdit::GetEditorStyle() const
{
    return CTreeOptionsEdit::GetEditorStyle() | setupmgr::editorstyle::kEditMultiLine;
}

int NotesEdit::GetEditorHeight(int labelHeight) const
{
    return CTreeOptionsEdit::GetEditorHeight(labelHeight) * kNotesLines;
}

EditorPage::EditorPage(const QString &caption)
    : CPropertyPage(caption)
    , m_tree(new CTreeOptionsCtrl(this))
{
    setObjectName(QStringLiteral("editorPage"));
    // Room below the last row for the multi-line edit, which opens downwards.
    setMinimumSize(480, 480);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    // The option sheet's own row images.
    m_tree->SetImageList(
        setupmgr::loadImageList(QStringLiteral(":/gallery/option_page_images.png"), kImageSize),
        QSize(kImageSize, kImageSize));
    m_tree->SetEditorCallback(&EditorPage::editorNotify, this);

    QTreeWidgetItem *group = this->group(QStringLiteral("Lists"));
    m_listRow = valueRow("combo", QStringLiteral("Picture quality"), group);
    m_tree->AddComboBox(m_listRow, &CTreeOptionsCombo::staticMetaObject);
    m_tree->SetComboText(m_listRow, QStringLiteral("High"));
    QTreeWidgetItem *row = valueRow("boolean", QStringLiteral("Record on motion"), group);
    m_tree->AddComboBox(row, &CTreeOptionsBooleanCombo::staticMetaObject);
    m_tree->SetComboText(row, Common::getYesNo(true));
    row = valueRow("font-name", QStringLiteral("Overlay font"), group);
    m_tree->AddComboBox(row, &CTreeOptionsFontNameCombo::staticMetaObject);
    m_tree->SetComboText(row, QApplication::font().family());

    group = this->group(QStringLiteral("Pickers"));
    row = valueRow("date", QStringLiteral("Archive from"), group);
    m_tree->AddComboBox(row, &CTreeOptionsDateCtrl::staticMetaObject);
    m_tree->SetDateTime(row, QDateTime(QDate(2024, 5, 17), QTime(0, 0)));
    row = valueRow("time", QStringLiteral("Daily backup at"), group);
    m_tree->AddComboBox(row, &CTreeOptionsTimeCtrl::staticMetaObject);
    m_tree->SetDateTime(row, QDateTime(QDate(2024, 5, 17), QTime(2, 30)));
    row = valueRow("address", QStringLiteral("Alarm server"), group);
    m_tree->AddComboBox(row, &CTreeOptionsIPAddressCtrl::staticMetaObject);
    m_tree->SetIPAddress(row, 0xC0A8010Au);

    // Colour, font and folder rows have no Add operation of their own: a browse row is given
    // the kind.
    group = this->group(QStringLiteral("Choosers"));
    row = valueRow("colour", QStringLiteral("Motion frame colour"), group);
    m_tree->AddEditBox(row, &CTreeOptionsBrowseButton::staticMetaObject);
    m_tree->GetItemRecord(row)->kind = OptionItemKind::Colour;
    m_tree->SetColor(row, QColor(0, 128, 255));
    row = valueRow("font", QStringLiteral("Caption font"), group);
    m_tree->AddEditBox(row, &CTreeOptionsBrowseButton::staticMetaObject);
    m_tree->GetItemRecord(row)->kind = OptionItemKind::Font;
    m_tree->SetFontValue(row, QApplication::font());
    row = valueRow("file", QStringLiteral("Alarm sound"), group);
    m_tree->AddBrowseEditBox(row, &CTreeOptionsEdit::staticMetaObject,
                             &CTreeOptionsBrowseButton::staticMetaObject);
    m_tree->SetEditText(row, QStringLiteral("/usr/share/sounds/alarm.wav"));
    row = valueRow("folder", QStringLiteral("Snapshot folder"), group);
    m_tree->AddBrowseEditBox(row, &CTreeOptionsEdit::staticMetaObject,
                             &CTreeOptionsBrowseButton::staticMetaObject);
    m_tree->GetItemRecord(row)->kind = OptionItemKind::FolderEdit;
    m_tree->SetEditText(row, QStringLiteral("/var/lib/ostrel/snapshots"));

    group = this->group(QStringLiteral("Texts"));
    row = valueRow("masked", QStringLiteral("Relay password"), group);
    m_tree->AddEditBox(row, &CTreeOptionsEdit::staticMetaObject, true);
    m_tree->SetEditText(row, QStringLiteral("relay-2024"));
    row = valueRow("multi-line", QStringLiteral("Operator notes"), group);
    m_tree->AddEditBox(row, &NotesEdit::staticMetaObject);
    const QString notes = QStringLiteral("Check camera 4 after rain.\nGate 2 closes at 22:00.");
    m_tree->GetItemRecord(row)->text = notes;
    m_tree->SetEditText(row, NotesEdit().FormatValue(notes));

    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        m_tree->topLevelItem(i)->setExpanded(true);
    connect(m_tree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *expanded) {
        m_tree->SetItemImage(expanded, kOpenGroupImage, kOpenGroupImage);
    });
    connect(m_tree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *collapsed) {
        m_tree->SetItemImage(collapsed, kGroupImage, kGroupImage);
    });
}

QTreeWidgetItem *EditorPage::group(const QString &label)
{
    QTreeWidgetItem *group = m_tree->InsertGroup(label, kGroupImage);
    // Expanded from the start.
    m_tree->SetItemImage(group, kOpenGroupImage, kOpenGroupImage);
    return group;
}

QTreeWidgetItem *EditorPage::valueRow(const char *name, const QString &label,
                                      QTreeWidgetItem *group)
{
    QTreeWidgetItem *row = m_tree->InsertItem(label, kValueImage, kValueImage, group);
    m_rows.append({QLatin1String(name), row});
    return row;
}

void EditorPage::editorNotify(EditorNotifyCode code, QTreeWidgetItem *row, QWidget *first,
                              QWidget *, void *user)
{
    // The plain drop-down list has no entries of its own: its user fills it as it opens.
    auto *page = static_cast<EditorPage *>(user);
    if (code == EditorNotifyCode::EditorCreated && row == page->m_listRow) {
        if (auto *combo = qobject_cast<CTreeOptionsCombo *>(first)) {
            for (const char *entry : {"Low", "Medium", "High"})
                combo->AddString(QLatin1String(entry));
        }
    }
    if (code != EditorNotifyCode::EditorCreated)
        page->SetModified(true);
}

TextPage::TextPage(const QString &caption, const QString &text)
    : CPropertyPage(caption)
{
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(text, this);
    label->setWordWrap(true);
    layout->addWidget(label);
    layout->addStretch();
}

Gallery::Gallery()
    : m_sheet(QStringLiteral("Ostrel Controls"))
    , m_editors(QStringLiteral("Editors"))
    , m_cameras(QStringLiteral("Devices::Cameras"),
                QStringLiteral("The cameras' page. Its caption, Devices::Cameras, puts it under "
                               "the node Devices, which has no page of its own."))
    , m_recorders(QStringLiteral("Devices::Recorders"),
                  QStringLiteral("The recorders' page, beside the cameras' under Devices."))
{
    m_sheet.setObjectName(QStringLiteral("gallerySheet"));
    m_sheet.AddPage(&m_editors);
    m_sheet.AddPage(&m_cameras);
    m_sheet.AddPage(&m_recorders);
    const QString format = Common::getString("emptyPageText", "option");
    m_sheet.SetEmptyPageFormat(format.isEmpty() ? QStringLiteral("Select one of the pages under "
                                                                 "\"%s\".")
                                                : format);
    m_sheet.EnablePageTree(true, true, true);
    m_sheet.SetPageTreeImages(setupmgr::loadImageList(
        QStringLiteral(":/gallery/option_sheet_images.png"), 16, QColor(0, 128, 128)));
    m_sheet.SetActivePage(&m_editors);
}

QTreeWidgetItem *Gallery::pageTreeRow(const QString &text) const
{
    QTreeWidget *tree = m_sheet.GetPageTree();
    const QList<QTreeWidgetItem *> found = tree
        ? tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive)
        : QList<QTreeWidgetItem *>();
    return found.isEmpty() ? nullptr : found.constFirst();
}

bool Gallery::saveScreenshots(const QString &folder, const QString &suffix)
{
    m_sheet.show();
    QTreeWidgetItem *node = pageTreeRow(QStringLiteral("Devices"));
    QTreeWidgetItem *editors = pageTreeRow(m_editors.GetCaption());
    if (!node || !editors)
        return false;
    bool saved = true;
    m_sheet.GetPageTree()->expandAll();
    m_sheet.GetPageTree()->setCurrentItem(node);
    saved &= save(folder, QStringLiteral("empty-page"), suffix);

    m_sheet.GetPageTree()->setCurrentItem(editors);
    CTreeOptionsCtrl *tree = m_editors.tree();
    for (const EditorPage::Row &row : m_editors.rows()) {
        tree->setCurrentItem(row.row);
        saved &= save(folder, QStringLiteral("editor-") + row.name, suffix);
    }
    tree->CommitAndCloseEditors();
    tree->setCurrentItem(tree->topLevelItem(0));
    return saved;
}

bool Gallery::save(const QString &folder, const QString &name, const QString &suffix)
{
    // Closed editors go, and the new ones lay out, before the picture is taken.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QPixmap shot = m_sheet.grab();
    // A multi-line edit floats in a window of its own, over the sheet.
    if (CMultiLineEditFrameWnd *frame = m_editors.tree()->multiLineFrame()) {
        QPainter painter(&shot);
        painter.drawPixmap(m_sheet.mapFromGlobal(frame->mapToGlobal(QPoint(0, 0))), frame->grab());
    }
    const QString file = QDir(folder).filePath(name + QLatin1Char('-') + suffix + ".png");
    if (shot.save(file))
        return true;
    qWarning("Could not write %s", qUtf8Printable(file));
    return false;
}

} // namespace gallery
