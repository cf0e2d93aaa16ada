#include "tree_options_ctrl.h"

#include "common/check.h"
#include "controls/theme_library.h"
#include "tree_options_accessible.h"
#include "tree_options_combo.h"
#include "tree_options_date_ctrl.h"
#include "tree_options_editor_kind.h"
#include "tree_options_focus.h"
#include "tree_options_ip_address_ctrl.h"
#include "tree_options_item.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStyleOptionViewItem>

#include <memory>

using setupmgr::OptionItem;
using setupmgr::optionItem;

namespace setupmgr {

OptionItem::~OptionItem()
{
    // Still whole here. The row leaves the tree now, so that whatever hears of its going (the
    // selection, assistive tools, the user told of a closing editor) sees an option row rather
    // than the plain item the base destructor would leave behind.
    if (auto *tree = qobject_cast<CTreeOptionsCtrl *>(treeWidget()))
        tree->rowGoing(this);
    if (accessibleId)
        QAccessible::deleteAccessibleInterface(accessibleId);
}

QVariant OptionItem::data(int column, int role) const
{
    if (column == 0 && role == Qt::DecorationRole && m_image >= 0)
        return m_icon.isNull() ? QVariant() : QVariant(m_icon);
    return QTreeWidgetItem::data(column, role);
}

void OptionItem::setImages(int image, int selectedImage, const QIcon &icon)
{
    m_image = image;
    m_selectedImage = selectedImage;
    m_icon = icon;
    emitDataChanged();
}

} // namespace setupmgr

namespace {

// The size of a classic glyph and of a themed one, and the image width taken when only the right
// end of an image lies in the scanned range.
constexpr int kClassicGlyph = 13;
constexpr int kThemedGlyph = 16;
constexpr int kNarrowImage = 16;

// The parts of a row that a click may toggle on, and those a click opens an editor on.
constexpr unsigned kTogglingParts = CTreeOptionsCtrl::HitOnImage | CTreeOptionsCtrl::HitOnLabel
    | CTreeOptionsCtrl::HitOnIndent | CTreeOptionsCtrl::HitOnRight
    | CTreeOptionsCtrl::HitOnStateImage;
constexpr unsigned kOpeningParts = CTreeOptionsCtrl::HitOnImage | CTreeOptionsCtrl::HitOnLabel
    | CTreeOptionsCtrl::HitOnStateImage;

bool isToggling(OptionItemKind kind)
{
    return kind == OptionItemKind::CheckBox || kind == OptionItemKind::RadioButton;
}

// The flat glyphs of the classic look, drawn with the palette: a square box with a tick, or a
// circle with a dot; both greyed when disabled.
void drawClassicGlyph(QPainter *painter, const QRect &glyph, bool radio, bool checked, bool enabled,
                      const QPalette &palette)
{
    const QColor frame = palette.color(QPalette::Active, QPalette::Dark);
    const QColor inside
        = palette.color(QPalette::Active, enabled ? QPalette::Base : QPalette::Button);
    const QColor mark = enabled ? palette.color(QPalette::Active, QPalette::Text)
                                : palette.color(QPalette::Disabled, QPalette::Text);
    painter->save();
    painter->setPen(frame);
    painter->setBrush(inside);
    const QRect box = glyph.adjusted(0, 0, -1, -1);
    if (radio) {
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->drawEllipse(box);
        if (checked) {
            painter->setPen(Qt::NoPen);
            painter->setBrush(mark);
            const QPointF centre = QRectF(glyph).center();
            painter->drawEllipse(centre, 2.5, 2.5);
        }
    } else {
        painter->drawRect(box);
        if (checked) {
            // The tick: three pixels thick, from the left middle down and up to the right.
            painter->setPen(mark);
            const int x = glyph.x();
            const int y = glyph.y();
            for (int dy = 0; dy < 3; ++dy) {
                painter->drawLine(x + 3, y + 5 + dy, x + 5, y + 7 + dy);
                painter->drawLine(x + 5, y + 7 + dy, x + 9, y + 3 + dy);
            }
        }
    }
    painter->restore();
}

} // namespace

CTreeOptionsCtrl::CTreeOptionsCtrl(QWidget *parent)
    : QTreeWidget(parent)
    , m_separator(QStringLiteral(": "))
{
    setObjectName(QStringLiteral("optionTree"));
    setColumnCount(1);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAnimated(false);
    setupmgr::installTreeOptionsAccessibility();

    // Editors must not outlive their row, whichever way the row leaves.
    connect(model(), &QAbstractItemModel::rowsAboutToBeRemoved, this, &CTreeOptionsCtrl::rowsGoing);
    connect(model(), &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        if (editorsOpen())
            DestroyEditors();
    });
    // Only the user's scrolling: scrolling a row into view for its editor keeps the editor.
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            &CTreeOptionsCtrl::commitOpenEditors);
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
            &CTreeOptionsCtrl::commitOpenEditors);
    connect(this, &QTreeWidget::itemExpanded, this, &CTreeOptionsCtrl::commitOpenEditors);
    connect(this, &QTreeWidget::itemCollapsed, this, &CTreeOptionsCtrl::commitOpenEditors);
}

CTreeOptionsCtrl::~CTreeOptionsCtrl()
{
    // The user that installed the callback may be half destroyed by now: it hears nothing.
    m_destroying = true;
    m_callback = nullptr;
    m_deletingAll = true;
    DestroyEditors();
    // Records go with their rows while this is still an option tree; the model outlives this
    // part of the tree and must not call it afterwards.
    clear();
    disconnect(model(), nullptr, this, nullptr);
}

void CTreeOptionsCtrl::SetImageList(const QList<QIcon> &images, const QSize &imageSize)
{
    m_images = images;
    m_imageSize = imageSize;
    setIconSize(imageSize);
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        if (OptionItem *row = optionItem(*it))
            row->setImages(row->image(), row->selectedImage(),
                           rowIcon(row->image(), row->selectedImage()));
    }
}

QIcon CTreeOptionsCtrl::rowIcon(int image, int selectedImage) const
{
    if (image < 0 || image >= m_images.size())
        return QIcon();
    if (selectedImage == image || selectedImage < 0 || selectedImage >= m_images.size())
        return m_images.at(image);
    QIcon icon;
    icon.addPixmap(m_images.at(image).pixmap(m_imageSize), QIcon::Normal);
    icon.addPixmap(m_images.at(selectedImage).pixmap(m_imageSize), QIcon::Selected);
    return icon;
}

OptionItem *CTreeOptionsCtrl::newRow(const QString &label, int image, int selectedImage,
                                     QTreeWidgetItem *parent, InsertAfter after)
{
    auto *row = new OptionItem;
    // Text and image before the row joins the model, so that nothing repaints for them.
    row->setText(0, label);
    row->setImages(image, selectedImage, rowIcon(image, selectedImage));
    QTreeWidgetItem *under = parent ? parent : invisibleRootItem();
    int position = under->childCount();
    if (after.sibling && after.sibling->parent() == parent) {
        position = under->indexOfChild(after.sibling) + 1;
    } else if (!after.sibling && after.marker == InsertAfter::First) {
        position = 0;
    }
    under->insertChild(position, row);
    return row;
}

QTreeWidgetItem *CTreeOptionsCtrl::InsertItem(const QString &label, int image, int selectedImage,
                                              QTreeWidgetItem *parent, InsertAfter after)
{
    return newRow(label, image, selectedImage, parent, after);
}

void CTreeOptionsCtrl::SetItemImage(QTreeWidgetItem *row, int image, int selectedImage)
{
    if (OptionItem *item = optionItem(row))
        item->setImages(image, selectedImage, rowIcon(image, selectedImage));
}

bool CTreeOptionsCtrl::GetItemImage(const QTreeWidgetItem *row, int *image,
                                    int *selectedImage) const
{
    const OptionItem *item = optionItem(row);
    if (!item)
        return false;
    if (image)
        *image = item->image();
    if (selectedImage)
        *selectedImage = item->selectedImage();
    return true;
}

OptionItemData *CTreeOptionsCtrl::replaceRecord(QTreeWidgetItem *row, OptionItemKind kind,
                                                bool masked)
{
    OptionItem *item = optionItem(row);
    if (!item)
        return nullptr;
    item->record = std::make_unique<OptionItemData>();
    item->record->kind = kind;
    item->record->masked = masked;
    return item->record.get();
}

QTreeWidgetItem *CTreeOptionsCtrl::InsertGroup(const QString &label, int image,
                                               QTreeWidgetItem *parent, InsertAfter after,
                                               bool masked)
{
    OptionItem *row = newRow(label, image, image, parent, after);
    replaceRecord(row, OptionItemKind::Group, masked);
    return row;
}

QTreeWidgetItem *CTreeOptionsCtrl::InsertCheckBox(const QString &label, QTreeWidgetItem *parent,
                                                  bool checked, InsertAfter after, bool masked)
{
    OptionItem *row = newRow(label, 0, 0, parent, after);
    replaceRecord(row, OptionItemKind::CheckBox, masked);
    SetCheckBox(row, checked);
    return row;
}

QTreeWidgetItem *CTreeOptionsCtrl::InsertRadioButton(const QString &label, QTreeWidgetItem *parent,
                                                     bool checked, InsertAfter after, bool masked)
{
    OptionItem *row = newRow(label, 0, 0, parent, after);
    replaceRecord(row, OptionItemKind::RadioButton, masked);
    if (checked)
        SetRadioButton(row);
    return row;
}

bool CTreeOptionsCtrl::AddComboBox(QTreeWidgetItem *row, const QMetaObject *editorClass,
                                   bool masked)
{
    OptionItemData *record = replaceRecord(row, OptionItemKind::Combo, masked);
    if (!record)
        return false;
    record->editorClass = editorClass;
    return true;
}

bool CTreeOptionsCtrl::AddEditBox(QTreeWidgetItem *row, const QMetaObject *editorClass, bool masked)
{
    if (!AddComboBox(row, editorClass, masked))
        return false;
    GetItemRecord(row)->kind = OptionItemKind::Edit;
    return true;
}

bool CTreeOptionsCtrl::AddSpinEditBox(QTreeWidgetItem *row, const QMetaObject *editClass,
                                      const QMetaObject *spinClass, bool masked)
{
    if (!AddEditBox(row, editClass, masked))
        return false;
    OptionItemData *record = GetItemRecord(row);
    record->kind = OptionItemKind::SpinEdit;
    record->buddyClass = spinClass;
    return true;
}

bool CTreeOptionsCtrl::AddBrowseEditBox(QTreeWidgetItem *row, const QMetaObject *editClass,
                                        const QMetaObject *buttonClass, bool masked)
{
    if (!AddEditBox(row, editClass, masked))
        return false;
    OptionItemData *record = GetItemRecord(row);
    record->kind = OptionItemKind::FileEdit;
    record->buddyClass = buttonClass;
    return true;
}

OptionItemData *CTreeOptionsCtrl::GetItemRecord(QTreeWidgetItem *row)
{
    OptionItem *item = optionItem(row);
    return item ? item->record.get() : nullptr;
}

const OptionItemData *CTreeOptionsCtrl::GetItemRecord(const QTreeWidgetItem *row) const
{
    const OptionItem *item = optionItem(row);
    return item ? item->record.get() : nullptr;
}

OptionItemData *CTreeOptionsCtrl::recordOfKind(QTreeWidgetItem *row, OptionItemKind kind)
{
    OptionItemData *record = GetItemRecord(row);
    return record && record->kind == kind ? record : nullptr;
}

const OptionItemData *CTreeOptionsCtrl::recordOfKind(const QTreeWidgetItem *row,
                                                     OptionItemKind kind) const
{
    const OptionItemData *record = GetItemRecord(row);
    return record && record->kind == kind ? record : nullptr;
}

QTreeWidgetItem *CTreeOptionsCtrl::parentOrRoot(QTreeWidgetItem *row) const
{
    QTreeWidgetItem *parent = row ? row->parent() : nullptr;
    return parent ? parent : invisibleRootItem();
}

void CTreeOptionsCtrl::rowChanged(QTreeWidgetItem *row, unsigned changes)
{
    if (OptionItem *item = optionItem(row))
        item->changed();
    if (changes == RepaintOnly)
        return;
    QAccessible::State states;
    states.checked = (changes & CheckChange) != 0;
    states.disabled = (changes & EnableChange) != 0;
    states.checkStateMixed = (changes & SemiChange) != 0;
    setupmgr::notifyRowStateChanged(this, row, states);
}

bool CTreeOptionsCtrl::setChecked(QTreeWidgetItem *row, bool checked)
{
    OptionItemData *record = GetItemRecord(row);
    if (!record)
        return false;
    if (record->checked != checked) {
        record->checked = checked;
        rowChanged(row, CheckChange);
    }
    return true;
}

void CTreeOptionsCtrl::DeleteAllItems()
{
    // Deleting the selected row selects another; that must open no editor.
    const QScopedValueRollback guard(m_deletingAll, true);
    if (editorsOpen())
        DestroyEditors();
    if (topLevelItemCount() > 0)
        DeleteItemRecords(topLevelItem(0));
}

void CTreeOptionsCtrl::DeleteItemRecords(QTreeWidgetItem *row)
{
    if (!row)
        return;
    QTreeWidgetItem *parent = parentOrRoot(row);
    const int first = parent->indexOfChild(row);
    // Each row takes its children and all their records with it.
    while (first >= 0 && parent->childCount() > first)
        delete parent->child(first);
}

bool CTreeOptionsCtrl::SetCheckBox(QTreeWidgetItem *row, bool checked)
{
    if (!recordOfKind(row, OptionItemKind::CheckBox))
        return false;
    return setChecked(row, checked);
}

bool CTreeOptionsCtrl::GetCheckBox(const QTreeWidgetItem *row, bool *checked) const
{
    return getRowFlag(row, OptionItemKind::CheckBox, &OptionItemData::checked, checked);
}

bool CTreeOptionsCtrl::SetRadioButton(QTreeWidgetItem *row)
{
    if (!recordOfKind(row, OptionItemKind::RadioButton))
        return false;
    QTreeWidgetItem *parent = parentOrRoot(row);
    for (int i = 0; i < parent->childCount(); ++i) {
        QTreeWidgetItem *child = parent->child(i);
        if (!recordOfKind(child, OptionItemKind::RadioButton))
            break;
        setChecked(child, child == row);
    }
    setChecked(row, true);
    return true;
}

bool CTreeOptionsCtrl::SetRadioButton(QTreeWidgetItem *parent, int index)
{
    QTreeWidgetItem *under = parent ? parent : invisibleRootItem();
    for (int i = 0; i < under->childCount(); ++i) {
        QTreeWidgetItem *child = under->child(i);
        if (!recordOfKind(child, OptionItemKind::RadioButton))
            break;
        setChecked(child, i == index);
    }
    return true;
}

bool CTreeOptionsCtrl::GetRadioButton(const QTreeWidgetItem *row, bool *checked) const
{
    return getRowFlag(row, OptionItemKind::RadioButton, &OptionItemData::checked, checked);
}

bool CTreeOptionsCtrl::GetRadioButton(QTreeWidgetItem *parent, int *index,
                                      QTreeWidgetItem **row) const
{
    QTreeWidgetItem *under = parent ? parent : invisibleRootItem();
    int position = 0;
    for (int i = 0; i < under->childCount(); ++i) {
        QTreeWidgetItem *child = under->child(i);
        const OptionItemData *record = recordOfKind(child, OptionItemKind::RadioButton);
        if (!record) {
            // Each run of radio rows counts from 0.
            position = 0;
            continue;
        }
        if (record->checked) {
            if (index)
                *index = position;
            if (row)
                *row = child;
            return true;
        }
        ++position;
    }
    return false;
}

bool CTreeOptionsCtrl::SetChildrenEnable(QTreeWidgetItem *parent, bool enable)
{
    QTreeWidgetItem *under = parent ? parent : invisibleRootItem();
    for (int i = 0; i < under->childCount(); ++i) {
        QTreeWidgetItem *child = under->child(i);
        OptionItemData *record = GetItemRecord(child);
        if (record && record->enabled != enable) {
            record->enabled = enable;
            rowChanged(child, EnableChange);
        }
    }
    return true;
}

bool CTreeOptionsCtrl::SetCheckBoxEnable(QTreeWidgetItem *row, bool enable)
{
    return setRowFlag(row, OptionItemKind::CheckBox, &OptionItemData::enabled, enable,
                      EnableChange);
}

bool CTreeOptionsCtrl::SetRadioButtonEnable(QTreeWidgetItem *row, bool enable)
{
    return setRowFlag(row, OptionItemKind::RadioButton, &OptionItemData::enabled, enable,
                      EnableChange);
}

bool CTreeOptionsCtrl::GetRadioButtonEnable(const QTreeWidgetItem *row, bool *enable) const
{
    return getRowFlag(row, OptionItemKind::RadioButton, &OptionItemData::enabled, enable);
}

bool CTreeOptionsCtrl::GetCheckBoxEnable(const QTreeWidgetItem *row, bool *enable) const
{
    return getRowFlag(row, OptionItemKind::CheckBox, &OptionItemData::enabled, enable);
}

bool CTreeOptionsCtrl::SetCheckBoxSemi(QTreeWidgetItem *row, bool semi)
{
    return setRowFlag(row, OptionItemKind::CheckBox, &OptionItemData::semiChecked, semi,
                      SemiChange);
}

bool CTreeOptionsCtrl::GetCheckBoxSemi(const QTreeWidgetItem *row, bool *semi) const
{
    return getRowFlag(row, OptionItemKind::CheckBox, &OptionItemData::semiChecked, semi);
}

bool CTreeOptionsCtrl::setRowFlag(QTreeWidgetItem *row, OptionItemKind kind,
                                  bool OptionItemData::*flag, bool value, unsigned change)
{
    OptionItemData *record = recordOfKind(row, kind);
    if (!record)
        return false;
    if (record->*flag != value) {
        record->*flag = value;
        rowChanged(row, change);
    }
    return true;
}

bool CTreeOptionsCtrl::getRowFlag(const QTreeWidgetItem *row, OptionItemKind kind,
                                  bool OptionItemData::*flag, bool *value) const
{
    const OptionItemData *record = recordOfKind(row, kind);
    if (!record)
        return false;
    if (value)
        *value = record->*flag;
    return true;
}

void CTreeOptionsCtrl::ApplyCheckBoxToggle(QTreeWidgetItem *row, bool oldState)
{
    OSTREL_CHECK(row);
    const bool newState = !oldState;
    SetCheckBox(row, newState);
    bool hasCheckChildren = false;
    for (int i = 0; i < row->childCount(); ++i) {
        if (SetCheckBox(row->child(i), newState))
            hasCheckChildren = true;
    }
    // Its children now agree, so it is no longer mixed.
    if (hasCheckChildren)
        SetCheckBoxSemi(row, false);

    QTreeWidgetItem *parent = row->parent();
    if (!recordOfKind(parent, OptionItemKind::CheckBox))
        return;
    int boxes = 0;
    int checked = 0;
    for (int i = 0; i < parent->childCount(); ++i) {
        bool state = false;
        if (GetCheckBox(parent->child(i), &state)) {
            ++boxes;
            checked += state ? 1 : 0;
        }
    }
    SetCheckBox(parent, checked > 0);
    SetCheckBoxSemi(parent, checked > 0 && checked < boxes);
}

CTreeOptionsCtrl::ToggleResult CTreeOptionsCtrl::toggleRow(QTreeWidgetItem *row)
{
    const OptionItemData *record = GetItemRecord(row);
    if (!record || !isToggling(record->kind) || !record->enabled)
        return ToggleResult::Refused;
    if (record->kind == OptionItemKind::CheckBox) {
        ApplyCheckBoxToggle(row, record->checked);
    } else {
        if (record->checked)
            return ToggleResult::AlreadyChecked;
        SetRadioButton(row);
    }
    notify(EditorNotifyCode::OptionToggled, nullptr, nullptr, nullptr);
    return ToggleResult::Toggled;
}

bool CTreeOptionsCtrl::userToggle(QTreeWidgetItem *row)
{
    return toggleRow(row) == ToggleResult::Toggled;
}

QTreeWidgetItem *CTreeOptionsCtrl::CopyItem(QTreeWidgetItem *row, QTreeWidgetItem *newParent,
                                            InsertAfter after)
{
    OSTREL_CHECK(row, nullptr);
    int image = -1;
    int selectedImage = -1;
    GetItemImage(row, &image, &selectedImage);
    OptionItem *copy = newRow(row->text(0), image, selectedImage, newParent, after);
    copy->setChildIndicatorPolicy(row->childIndicatorPolicy());
    if (const OptionItemData *record = GetItemRecord(row))
        copy->record = std::make_unique<OptionItemData>(*record);
    return copy;
}

QTreeWidgetItem *CTreeOptionsCtrl::CopyBranch(QTreeWidgetItem *row, QTreeWidgetItem *newParent,
                                              InsertAfter after)
{
    OSTREL_CHECK(row, nullptr);
    // The children as they are now: the copy may land among them.
    QList<QTreeWidgetItem *> children;
    children.reserve(row->childCount());
    for (int i = 0; i < row->childCount(); ++i)
        children.append(row->child(i));
    QTreeWidgetItem *copy = CopyItem(row, newParent, after);
    for (QTreeWidgetItem *child : std::as_const(children))
        CopyBranch(child, copy, InsertAfter::Last);
    return copy;
}

QString CTreeOptionsCtrl::GetComboText(const QTreeWidgetItem *row) const
{
    OSTREL_CHECK(row, QString());
    const QString text = row->text(0);
    const qsizetype at = text.indexOf(m_separator);
    return at < 0 ? QString() : text.mid(at + m_separator.size());
}

void CTreeOptionsCtrl::SetComboText(QTreeWidgetItem *row, const QString &value)
{
    OSTREL_CHECK(row);
    const QString text = row->text(0);
    const qsizetype at = text.indexOf(m_separator);
    const QString label = at < 0 ? text % m_separator : text.left(at + m_separator.size());
    row->setText(0, label % value);
}

QString CTreeOptionsCtrl::GetEditText(const QTreeWidgetItem *row) const
{
    return GetComboText(row);
}

void CTreeOptionsCtrl::SetEditText(QTreeWidgetItem *row, const QString &value)
{
    OptionItemData *record = GetItemRecord(row);
    if (!record)
        return;
    if (!record->masked) {
        SetComboText(row, value);
        return;
    }
    record->text = value;
    SetComboText(row, QString(value.size(), QLatin1Char('*')));
}

void CTreeOptionsCtrl::RemoveValueText(QTreeWidgetItem *row)
{
    OSTREL_CHECK(row);
    const QString text = row->text(0);
    const qsizetype at = text.indexOf(m_separator);
    if (at >= 0)
        row->setText(0, text.left(at));
}

QColor CTreeOptionsCtrl::GetColor(const QTreeWidgetItem *row) const
{
    const OptionItemData *record = GetItemRecord(row);
    return record ? record->colour : QColor();
}

void CTreeOptionsCtrl::SetColor(QTreeWidgetItem *row, const QColor &colour)
{
    OptionItemData *record = GetItemRecord(row);
    if (!record)
        return;
    record->colour = colour;
    const QString text = QStringLiteral("&%1%2%3")
                             .arg(colour.red(), 2, 16, QLatin1Char('0'))
                             .arg(colour.green(), 2, 16, QLatin1Char('0'))
                             .arg(colour.blue(), 2, 16, QLatin1Char('0'))
                             .toUpper();
    SetEditText(row, text);
}

bool CTreeOptionsCtrl::GetFontValue(const QTreeWidgetItem *row, QFont *font) const
{
    const OptionItemData *record = GetItemRecord(row);
    if (!record)
        return false;
    if (font)
        *font = record->font;
    return true;
}

void CTreeOptionsCtrl::SetFontValue(QTreeWidgetItem *row, const QFont &font)
{
    OptionItemData *record = GetItemRecord(row);
    if (!record)
        return;
    record->font = font;
    SetEditText(row, font.family());
}

void CTreeOptionsCtrl::SetDateTime(QTreeWidgetItem *row, const QDateTime &dateTime)
{
    OptionItemData *record = GetItemRecord(row);
    if (!record)
        return;
    record->dateTime = dateTime;
    // The display is the editor class's, which a derived picker may change.
    const QMetaObject *editorClass = record->editorClass;
    if (!editorClass || !editorClass->inherits(&CTreeOptionsDateCtrl::staticMetaObject))
        return;
    const std::unique_ptr<QObject> picker(editorClass->newInstance(Q_ARG(QWidget *, nullptr)));
    if (auto *date = qobject_cast<CTreeOptionsDateCtrl *>(picker.get()))
        SetEditText(row, date->GetDisplayText(dateTime));
}

bool CTreeOptionsCtrl::GetDateTime(const QTreeWidgetItem *row, QDateTime *dateTime) const
{
    const OptionItemData *record = GetItemRecord(row);
    if (!record)
        return false;
    if (dateTime)
        *dateTime = record->dateTime;
    return true;
}

quint32 CTreeOptionsCtrl::GetIPAddress(const QTreeWidgetItem *row) const
{
    const OptionItemData *record = GetItemRecord(row);
    return record ? record->address : 0;
}

void CTreeOptionsCtrl::SetIPAddress(QTreeWidgetItem *row, quint32 address)
{
    OptionItemData *record = GetItemRecord(row);
    if (!record)
        return;
    record->address = address;
    const QMetaObject *editorClass = record->editorClass;
    if (!editorClass || !editorClass->inherits(&CTreeOptionsIPAddressCtrl::staticMetaObject))
        return;
    const std::unique_ptr<QObject> editor(editorClass->newInstance(Q_ARG(QWidget *, nullptr)));
    if (auto *ip = qobject_cast<CTreeOptionsIPAddressCtrl *>(editor.get()))
        SetEditText(row, ip->GetDisplayText(address));
}

void CTreeOptionsCtrl::SetEditorCallback(EditorNotifyCallback callback, void *userValue)
{
    m_callback = callback;
    m_callbackUser = userValue;
}

void CTreeOptionsCtrl::notify(EditorNotifyCode code, QTreeWidgetItem *row, QWidget *first,
                              QWidget *second)
{
    if (m_callback && !m_destroying)
        m_callback(code, row, first, second, m_callbackUser);
}

void CTreeOptionsCtrl::layoutOption(QStyleOptionViewItem *option, const QTreeWidgetItem *row) const
{
    initViewItemOption(option);
    const QModelIndex index = indexFromItem(row);
    option->rect = visualRect(index);
    option->index = index;
    option->text = row->text(0);
    option->features = QStyleOptionViewItem::HasDisplay;
    const QVariant icon = row->data(0, Qt::DecorationRole);
    if (icon.canConvert<QIcon>() && !icon.value<QIcon>().isNull()) {
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon = icon.value<QIcon>();
        option->decorationSize = m_imageSize.isValid() ? m_imageSize : iconSize();
    }
}

QRect CTreeOptionsCtrl::imageRect(const QTreeWidgetItem *row) const
{
    if (!row || !hasImageList())
        return {};
    QStyleOptionViewItem option;
    layoutOption(&option, row);
    if (!option.rect.isValid() || !(option.features & QStyleOptionViewItem::HasDecoration))
        return {};
    return style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
}

QRect CTreeOptionsCtrl::labelRect(const QTreeWidgetItem *row) const
{
    if (!row)
        return {};
    QStyleOptionViewItem option;
    layoutOption(&option, row);
    if (!option.rect.isValid())
        return {};
    QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    // The style gives the text the rest of the cell; the label is as wide as its text.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int width = option.fontMetrics.horizontalAdvance(option.text) + 2 * margin;
    if (width < text.width())
        text.setWidth(width);
    return text;
}

QTreeWidgetItem *CTreeOptionsCtrl::HitTest(const QPoint &point, unsigned *flags) const
{
    const QModelIndex index = indexAt(point);
    QTreeWidgetItem *row = itemFromIndex(index);
    unsigned hit = HitNowhere;
    if (row) {
        const QRect cell = visualRect(index);
        if (point.x() < cell.left()) {
            // The last step of the indentation holds the expand button of a row with children.
            const bool hasButton = row->childCount() > 0
                || row->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
            hit = hasButton && point.x() >= cell.left() - indentation() ? HitOnButton : HitOnIndent;
        } else {
            const QRect image = imageRect(row);
            const QRect label = labelRect(row);
            if (image.isValid() && point.x() >= image.left() && point.x() <= image.right())
                hit = HitOnImage;
            else if (point.x() <= label.right())
                hit = HitOnLabel;
            else
                hit = HitOnRight;
        }
    }
    if (flags)
        *flags = hit;
    return row;
}

bool CTreeOptionsCtrl::GetIconExtent(int left, int right, int y, int *x1, int *x2) const
{
    if (!hasImageList())
        return false;
    QTreeWidgetItem *row = itemAt(QPoint(qMax(left, 0), y));
    const QRect image = imageRect(row);
    if (!image.isValid())
        return false;
    // As a scan from left to right would find it: the first x on the image, and the first x
    // after it that is not.
    const int imageEnd = image.left() + image.width();
    const int first = qMax(left, image.left());
    if (first >= qMin(right, imageEnd))
        return false;
    const int width = m_imageSize.width();
    int start = first;
    int end = imageEnd;
    if (imageEnd >= right)
        end = start + width;
    else if (end - start < width)
        start = end - kNarrowImage;
    if (x1)
        *x1 = start;
    if (x2)
        *x2 = end;
    return true;
}

QRect CTreeOptionsCtrl::GetCheckGlyphRect(const QRect &imageRect, bool themed) const
{
    const int centreX = imageRect.x() + imageRect.width() / 2;
    const int centreY = imageRect.y() + imageRect.height() / 2;
    const int size = themed ? kThemedGlyph : kClassicGlyph;
    return QRect(centreX - 8, centreY - (themed ? 8 : 7), size, size);
}

void CTreeOptionsCtrl::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    QTreeWidget::drawRow(painter, option, index);
    const QTreeWidgetItem *row = itemFromIndex(index);
    if (const OptionItemData *record = GetItemRecord(row))
        paintGlyph(painter, *record, option.rect);
}

void CTreeOptionsCtrl::paintGlyph(QPainter *painter, const OptionItemData &record,
                                  const QRect &rowRect) const
{
    const bool colour = record.kind == OptionItemKind::Colour && record.paintColour;
    if (!colour && !isToggling(record.kind))
        return;
    int x1 = 0;
    int x2 = 0;
    if (!GetIconExtent(rowRect.left(), rowRect.left() + rowRect.width(), rowRect.top() + 1, &x1,
                       &x2))
        return;
    const QRect area(x1, rowRect.top(), x2 - x1, rowRect.height());
    if (colour) {
        painter->fillRect(area, record.colour);
        return;
    }
    const bool radio = record.kind == OptionItemKind::RadioButton;
    const bool themed = m_useThemes && ThemeLibrary::themed();
    const bool semi = !radio && record.semiChecked;
    painter->fillRect(area,
                      palette().color(QPalette::Active, semi ? QPalette::Button : QPalette::Base));
    const QRect glyph = GetCheckGlyphRect(area, themed);
    if (!themed) {
        drawClassicGlyph(painter, glyph, radio, record.checked, record.enabled, palette());
        return;
    }
    QStyleOptionButton button;
    button.initFrom(this);
    button.rect = glyph;
    button.state = (record.enabled ? QStyle::State_Enabled : QStyle::State_None)
        | (record.checked ? QStyle::State_On : QStyle::State_Off);
    if (!record.enabled)
        button.palette.setCurrentColorGroup(QPalette::Disabled);
    style()->drawPrimitive(radio ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox,
                           &button, painter, this);
}

// The tree view's own handlers of these two tell assistive tools about a row by its place among
// the visible rows below a header, which is not how this tree's accessible interface counts
// them; so the item view's handlers run instead, and the rest is done here.
void CTreeOptionsCtrl::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QAbstractItemView::currentChanged(current, previous);
    for (const QModelIndex &index : {previous, current}) {
        if (index.isValid()) {
            const QRect cell = visualRect(index);
            viewport()->update(QRect(0, cell.top(), viewport()->width(), cell.height()));
        }
    }
    if (current.isValid() && hasFocus())
        setupmgr::notifyRowEvent(this, itemFromIndex(current), QAccessible::Focus);
    if (m_deletingAll || m_destroying)
        return;
    if (editorsOpen()) {
        CommitEditorValue();
        DestroyEditors();
    }
    QTreeWidgetItem *row = itemFromIndex(current);
    const OptionItemData *record = GetItemRecord(row);
    if (record && record->editorClass)
        CreateEditors(row);
}

void CTreeOptionsCtrl::selectionChanged(const QItemSelection &selected,
                                        const QItemSelection &deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    if (!QAccessible::isActive())
        return;
    // One row is selected at a time.
    if (const QModelIndex added = selected.indexes().value(0); added.isValid())
        setupmgr::notifyRowEvent(this, itemFromIndex(added), QAccessible::SelectionAdd);
    if (const QModelIndex removed = deselected.indexes().value(0); removed.isValid())
        setupmgr::notifyRowEvent(this, itemFromIndex(removed), QAccessible::SelectionRemove);
}

void CTreeOptionsCtrl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        unsigned flags = 0;
        QTreeWidgetItem *row = HitTest(event->position().toPoint(), &flags);
        const bool onRow = m_toggleOnImageOnly || (flags & kTogglingParts);
        if (row && onRow && (!m_toggleOnImageOnly || flags == HitOnImage))
            toggleRow(row);
    }
    QTreeWidget::mousePressEvent(event);
}

void CTreeOptionsCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    unsigned flags = 0;
    QTreeWidgetItem *row = HitTest(event->position().toPoint(), &flags);
    const OptionItemData *record = GetItemRecord(row);
    // A click on the selected row opens its editor again once an edit has ended.
    if (record && record->editorClass && (flags & kOpeningParts) && !editorsOpen()) {
        CreateEditors(row);
        if (m_focusOnOpen)
            PostFocusEditor();
    }
}

void CTreeOptionsCtrl::keyPressEvent(QKeyEvent *event)
{
    QTreeWidgetItem *row = currentItem();
    const OptionItemData *record = GetItemRecord(row);
    // The row's class decides which editor the key goes to; a hidden one drops it.
    if (event->key() == Qt::Key_Right && record && editorsOpen()
        && setupmgr::OptionEditorKind::editorFor(record->editorClass)) {
        QWidget *target = m_editors.editor;
        if (target && target->isVisible())
            target->setFocus(Qt::TabFocusReason);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Space && row
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (toggleRow(row) != ToggleResult::Refused) {
            event->accept();
            return;
        }
    }
    QTreeWidget::keyPressEvent(event);
}

bool CTreeOptionsCtrl::keepsEditorsFor(QWidget *window) const
{
    if (setupmgr::isInside(window, m_editors.editor) || setupmgr::isInside(window, m_editors.buddy))
        return true;
    // The drop-down also keeps them when the focus leaves the application.
    const CTreeOptionsCombo *combo = comboEditor();
    return combo && combo->keepsEditFor(window);
}

void CTreeOptionsCtrl::focusOutEvent(QFocusEvent *event)
{
    QWidget *taker = setupmgr::focusTaker(event);
    if (editorsOpen() && taker != this && !keepsEditorsFor(taker)) {
        CommitEditorValue();
        DestroyEditors();
    }
    QTreeWidget::focusOutEvent(event);
}

void CTreeOptionsCtrl::wheelEvent(QWheelEvent *event)
{
    if (editorsOpen())
        CommitAndCloseEditors();
    QTreeWidget::wheelEvent(event);
}

void CTreeOptionsCtrl::commitOpenEditors()
{
    if (editorsOpen() && !m_opening)
        CommitAndCloseEditors();
}
