// A tree of options: group headings, check boxes and radio buttons whose glyphs the tree paints
// itself over each row's image, and value rows ("label: value") whose value is edited in place
// by a small editor that opens beside the label of the selected row.
#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QTreeWidget>

class CMultiLineEditFrameWnd;
class CTreeOptionsBrowseButton;
class CTreeOptionsCombo;
class CTreeOptionsDateCtrl;
class CTreeOptionsEdit;
class CTreeOptionsIPAddressCtrl;
class CTreeOptionsSpinCtrl;

namespace setupmgr {
class OptionItem;
class OptionEditorKind;
struct EditorPlace;

// The editors open over one row: the editor of its value and the spin control or "..." button
// beside it, each with its kind's entry. Empty while no row is edited.
struct OpenEditors
{
    QTreeWidgetItem *row = nullptr;
    const OptionEditorKind *kind = nullptr;
    QPointer<QWidget> editor; // a multi-line edit's frame stands for the edit
    const OptionEditorKind *buddyKind = nullptr;
    QPointer<QWidget> buddy;
    QString initialText; // what a drop-down or an edit starts with
};

} // namespace setupmgr

// The kind of an option row; the numbers are the ones its record has always stored.
enum class OptionItemKind {
    None = 0,
    Group = 1,
    SpinEdit = 2,
    FileEdit = 3,
    FolderEdit = 4,
    Colour = 5,
    Font = 6,
    CheckBox = 7,
    RadioButton = 8,
    Combo = 9,
    Edit = 10,
    CustomBrowse = 13,
};

// The record of one option row, owned by the row and freed with it.
struct OptionItemData
{
    // The class of the row's in-place editor and of the spin control or "..." button beside it;
    // none for groups, check boxes and radio buttons.
    const QMetaObject *editorClass = nullptr;
    const QMetaObject *buddyClass = nullptr;
    OptionItemKind kind = OptionItemKind::None;
    bool masked = false; // the value shows as one "*" per character
    QColor colour {255, 0, 0};
    QFont font;
    QDateTime dateTime;
    quint32 address = 0;     // IPv4, first octet in the high byte
    bool paintColour = true; // a colour row paints its colour over its image while set
    bool enabled = true;     // check boxes and radio buttons: the user may toggle it
    bool checked = false;
    bool semiChecked = false; // a check box whose check-box children are mixed
    QString text;             // the full value of masked and multi-line rows
};

// What the tree tells its user about its editors and its check boxes.
enum class EditorNotifyCode {
    EditorCreated = 0, // a drop-down editor, or an edit with its spin control, has just opened
    EditorClosing = 1, // a drop-down or edit editor is about to close
    OptionToggled = 2, // the user toggled a check box or selected a radio button
};

// row, first and second are null for OptionToggled; second is the spin control for an edit.
using EditorNotifyCallback = void (*)(EditorNotifyCode code, QTreeWidgetItem *row, QWidget *first,
                                      QWidget *second, void *userValue);

class CTreeOptionsCtrl : public QTreeWidget
{
    Q_OBJECT

public:
    // Where a new row goes among its siblings: first, last (the default) or after a sibling.
    struct InsertAfter
    {
        enum Marker { First, Last };
        InsertAfter(Marker marker = Last)
            : marker(marker)
        { }
        InsertAfter(QTreeWidgetItem *sibling)
            : sibling(sibling)
        { }
        Marker marker = Last;
        QTreeWidgetItem *sibling = nullptr;
    };

    // The parts of a row a point may be on; the values of the tree's hit test.
    enum HitTestFlag : unsigned {
        HitNowhere = 0x01,
        HitOnImage = 0x02,
        HitOnLabel = 0x04,
        HitOnIndent = 0x08,
        HitOnButton = 0x10,
        HitOnRight = 0x20,
        HitOnStateImage = 0x40,
    };

    explicit CTreeOptionsCtrl(QWidget *parent = nullptr);
    ~CTreeOptionsCtrl() override;

    // The images of the rows, all of imageSize; the check and radio glyphs and the colour
    // swatches are painted over a row's image, so a tree without images paints none of them.
    void SetImageList(const QList<QIcon> &images, const QSize &imageSize);
    bool hasImageList() const { return !m_images.isEmpty(); }
    QSize imageSize() const { return m_imageSize; }

    // A plain row (no record) with its image and selected image; parent null for the root.
    QTreeWidgetItem *InsertItem(const QString &label, int image, int selectedImage,
                                QTreeWidgetItem *parent = nullptr, InsertAfter after = {});
    void SetItemImage(QTreeWidgetItem *row, int image, int selectedImage);
    bool GetItemImage(const QTreeWidgetItem *row, int *image, int *selectedImage) const;

    // Rows with a fresh record.
    QTreeWidgetItem *InsertGroup(const QString &label, int image, QTreeWidgetItem *parent = nullptr,
                                 InsertAfter after = {}, bool masked = false);
    QTreeWidgetItem *InsertCheckBox(const QString &label, QTreeWidgetItem *parent = nullptr,
                                    bool checked = true, InsertAfter after = {},
                                    bool masked = false);
    QTreeWidgetItem *InsertRadioButton(const QString &label, QTreeWidgetItem *parent = nullptr,
                                       bool checked = true, InsertAfter after = {},
                                       bool masked = false);

    // Turn a plain row into a value row edited by the given classes, replacing any record it had.
    // False for a row the tree did not make.
    bool AddComboBox(QTreeWidgetItem *row, const QMetaObject *editorClass, bool masked = false);
    bool AddEditBox(QTreeWidgetItem *row, const QMetaObject *editorClass, bool masked = false);
    bool AddSpinEditBox(QTreeWidgetItem *row, const QMetaObject *editClass,
                        const QMetaObject *spinClass, bool masked = false);
    bool AddBrowseEditBox(QTreeWidgetItem *row, const QMetaObject *editClass,
                          const QMetaObject *buttonClass, bool masked = false);

    // The row's record; null for a row without one.
    OptionItemData *GetItemRecord(QTreeWidgetItem *row);
    const OptionItemData *GetItemRecord(const QTreeWidgetItem *row) const;

    // Frees every record and deletes every row; the selection changes this causes open no
    // editor.
    virtual void DeleteAllItems();

    // Check boxes and radio buttons. The row operations answer false, changing nothing, for a
    // row without a record or of another kind.
    virtual bool SetCheckBox(QTreeWidgetItem *row, bool checked);
    virtual bool GetCheckBox(const QTreeWidgetItem *row, bool *checked) const;
    // Checks the radio row and unchecks its siblings from the first up to the first row that is
    // not a radio button.
    virtual bool SetRadioButton(QTreeWidgetItem *row);
    // Checks the radio child at index and unchecks the others, walking from the first child up to
    // the first that is not a radio button; an index past that walk checks nothing.
    virtual bool SetRadioButton(QTreeWidgetItem *parent, int index);
    virtual bool GetRadioButton(const QTreeWidgetItem *row, bool *checked) const;
    // The first checked radio child and its position, counted from 0 again after every child that
    // is not a radio button. With nothing checked: false, and index and row are left alone.
    virtual bool GetRadioButton(QTreeWidgetItem *parent, int *index, QTreeWidgetItem **row) const;
    // The enabled flag of every direct child that has a record, whatever its kind.
    virtual bool SetChildrenEnable(QTreeWidgetItem *parent, bool enable);
    virtual bool SetCheckBoxEnable(QTreeWidgetItem *row, bool enable);
    virtual bool SetRadioButtonEnable(QTreeWidgetItem *row, bool enable);
    virtual bool GetRadioButtonEnable(const QTreeWidgetItem *row, bool *enable) const;
    virtual bool GetCheckBoxEnable(const QTreeWidgetItem *row, bool *enable) const;

    // A new row with the source's text, images and record (a deep copy).
    virtual QTreeWidgetItem *CopyItem(QTreeWidgetItem *row, QTreeWidgetItem *newParent,
                                      InsertAfter after = {});
    // CopyItem, then each child's branch under the copy, in order.
    virtual QTreeWidgetItem *CopyBranch(QTreeWidgetItem *row, QTreeWidgetItem *newParent,
                                        InsertAfter after = {});

    // The open editor's value into its row, then the editors closed.
    virtual void CommitAndCloseEditors();
    // Closes the editors without taking their value; the row keeps its label alone.
    virtual void DestroyEditors();
    // The row text becomes the label alone.
    virtual void RemoveValueText(QTreeWidgetItem *row);
    // Opens the row's editors beside its label.
    virtual void CreateEditors(QTreeWidgetItem *row);
    // The spin control beside the open edit; nothing for a class outside the spin family.
    virtual void CreateSpinCtrl(const QMetaObject *spinClass, const QRect &rowRect,
                                const QRect &labelRect, const QRect &editorRect);
    // The "..." button beside the open editor, or alone; nothing for a class outside its family.
    virtual void CreateBrowseButton(const QMetaObject *buttonClass, const QRect &rowRect,
                                    const QRect &labelRect);
    // The open editor's value into the row being edited.
    virtual void CommitEditorValue();
    // Toggles the check box and its direct check-box children, then brings its parent check box
    // (one level up) to checked, unchecked or checked and semi-checked.
    virtual void ApplyCheckBoxToggle(QTreeWidgetItem *row, bool oldState);
    virtual bool SetCheckBoxSemi(QTreeWidgetItem *row, bool semi);
    virtual bool GetCheckBoxSemi(const QTreeWidgetItem *row, bool *semi) const;
    // Deletes the row, its following siblings and all their children with their records.
    virtual void DeleteItemRecords(QTreeWidgetItem *row);
    // The horizontal extent x1..x2 (x2 exclusive) of the image of the row at y, looked for from
    // left to right; false without an image list or an image there.
    virtual bool GetIconExtent(int left, int right, int y, int *x1, int *x2) const;
    // Where the check or radio glyph goes inside the image rectangle.
    virtual QRect GetCheckGlyphRect(const QRect &imageRect, bool themed) const;

    // The value text: what follows the first separator in the row text; empty without one.
    QString GetComboText(const QTreeWidgetItem *row) const;
    void SetComboText(QTreeWidgetItem *row, const QString &value);
    QString GetEditText(const QTreeWidgetItem *row) const;
    // A masked row keeps the value in its record and shows one "*" per character.
    void SetEditText(QTreeWidgetItem *row, const QString &value);
    QColor GetColor(const QTreeWidgetItem *row) const;
    // The value text is "&RRGGBB".
    void SetColor(QTreeWidgetItem *row, const QColor &colour);
    bool GetFontValue(const QTreeWidgetItem *row, QFont *font) const;
    // The value text is the font's family.
    void SetFontValue(QTreeWidgetItem *row, const QFont &font);
    // The value text is the display text of the row's date or time editor class.
    void SetDateTime(QTreeWidgetItem *row, const QDateTime &dateTime);
    bool GetDateTime(const QTreeWidgetItem *row, QDateTime *dateTime) const;
    quint32 GetIPAddress(const QTreeWidgetItem *row) const;
    // The value text is the dotted address, from the row's address editor class.
    void SetIPAddress(QTreeWidgetItem *row, quint32 address);
    QString valueSeparator() const { return m_separator; }

    void SetEditorCallback(EditorNotifyCallback callback, void *userValue);

    // What a click on the row's glyph does: toggles an enabled check box or selects an enabled
    // radio button that is not checked yet, then tells the callback. False when nothing changed.
    bool userToggle(QTreeWidgetItem *row);

    // The row at the point (viewport coordinates) and the parts of it the point is on.
    QTreeWidgetItem *HitTest(const QPoint &point, unsigned *flags) const;
    // The image and the label rectangles of a row, in viewport coordinates; empty when the row
    // is not laid out.
    QRect imageRect(const QTreeWidgetItem *row) const;
    QRect labelRect(const QTreeWidgetItem *row) const;

    // The open editors; null when closed.
    QTreeWidgetItem *editedRow() const { return m_editors.row; }
    CTreeOptionsCombo *comboEditor() const;
    CTreeOptionsEdit *editEditor() const;
    CMultiLineEditFrameWnd *multiLineFrame() const;
    CTreeOptionsSpinCtrl *spinControl() const;
    CTreeOptionsBrowseButton *browseButton() const;
    CTreeOptionsDateCtrl *dateTimeEditor() const;
    CTreeOptionsIPAddressCtrl *addressEditor() const;
    bool editorsOpen() const { return m_editors.row != nullptr; }
    // Whether the widget is one of the open editors; a closed editor waiting to be deleted is not.
    bool isOpenEditor(const QWidget *editor) const;

    // Queued: the first open editor takes the focus.
    void PostFocusEditor();
    // Queued: the selected row's editors are committed, closed and opened again, after the
    // handler that asks for it has returned.
    void PostRefreshEditors();

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected,
                          const QItemSelection &deselected) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                 const QModelIndex &index) const override;

    // Clicks toggle only on the image; and a click on a value row gives its editor the focus.
    // Both off; a derived tree may set them.
    bool m_toggleOnImageOnly = false;
    bool m_focusOnOpen = false;
    // Themed glyphs when the theme library says themes are in use.
    bool m_useThemes = true;

private:
    friend class setupmgr::OptionItem;
    friend class setupmgr::OptionEditorKind;

    setupmgr::OptionItem *newRow(const QString &label, int image, int selectedImage,
                                 QTreeWidgetItem *parent, InsertAfter after);
    OptionItemData *replaceRecord(QTreeWidgetItem *row, OptionItemKind kind, bool masked);
    OptionItemData *recordOfKind(QTreeWidgetItem *row, OptionItemKind kind);
    const OptionItemData *recordOfKind(const QTreeWidgetItem *row, OptionItemKind kind) const;
    QTreeWidgetItem *parentOrRoot(QTreeWidgetItem *row) const;
    QIcon rowIcon(int image, int selectedImage) const;
    enum RowChange : unsigned {
        RepaintOnly = 0,
        CheckChange = 1,
        EnableChange = 2,
        SemiChange = 4
    };
    enum class ToggleResult { Toggled, AlreadyChecked, Refused };

    // Repaints a row whose record changed, and tells assistive tools which states changed.
    void rowChanged(QTreeWidgetItem *row, unsigned changes);
    // One flag of a row of that kind; false when the row has no record of it.
    bool setRowFlag(QTreeWidgetItem *row, OptionItemKind kind, bool OptionItemData::*flag,
                    bool value, unsigned change);
    bool getRowFlag(const QTreeWidgetItem *row, OptionItemKind kind, bool OptionItemData::*flag,
                    bool *value) const;
    bool setChecked(QTreeWidgetItem *row, bool checked);
    void notify(EditorNotifyCode code, QTreeWidgetItem *row, QWidget *first, QWidget *second);
    // A click or the space key on a row.
    ToggleResult toggleRow(QTreeWidgetItem *row);
    bool keepsEditorsFor(QWidget *window) const;
    void paintGlyph(QPainter *painter, const OptionItemData &record, const QRect &rowRect) const;
    void layoutOption(QStyleOptionViewItem *option, const QTreeWidgetItem *row) const;

    // The steps of opening a row's editors: the editor objects of the row's classes, where they
    // go, the editor shown there (false when the user's callback closed it meanwhile), and the
    // spin control or "..." button beside it.
    void createEditorObjects(const OptionItemData &record);
    setupmgr::EditorPlace editorPlace(QTreeWidgetItem *row);
    bool placeEditor(setupmgr::EditorPlace &at);
    void createBuddy(const OptionItemData &record, const setupmgr::EditorPlace &at);

    // The deferred calls.
    void focusEditor();
    void refreshEditors();
    // Whether the row being edited is row or lies under it.
    bool editsWithin(const QTreeWidgetItem *row) const;
    // A row is being deleted: it leaves the tree, and its editors must not outlive it.
    void rowGoing(QTreeWidgetItem *row);
    void rowsGoing(const QModelIndex &parent, int first, int last);
    // Scrolling, expanding or collapsing moves rows under an open editor.
    void commitOpenEditors();

    EditorNotifyCallback m_callback = nullptr;
    void *m_callbackUser = nullptr;
    setupmgr::OpenEditors m_editors;
    QString m_separator;
    bool m_deletingAll = false;
    bool m_opening = false;
    bool m_destroying = false;
    QList<QIcon> m_images;
    QSize m_imageSize;
};
