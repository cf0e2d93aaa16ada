// The in-place editors as the option tree opens, commits and closes them: the callback codes,
// the spin edit's clamping, the focus rules that keep or end an edit, and the keys.
#include "controls/beep.h"
#include "optiontree/tree_options_browse_button.h"
#include "optiontree/tree_options_combo.h"
#include "optiontree/tree_options_date_ctrl.h"
#include "optiontree/tree_options_ip_address_ctrl.h"
#include "optiontree/tree_options_multi_line_frame.h"
#include "optiontree/tree_options_spin_ctrl.h"
#include "support/dialog_test_util.h"
#include "tree_options_fixture.h"

#include <QAccessible>
#include <QCalendarWidget>
#include <QColorDialog>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

namespace {

// GIVEN an open spin edit WHEN its arrows, or Up and Down in the edit or the arrows, are used
// THEN the edit stays open, the tree's selection stays, and the number steps within the range;
// WHEN another widget of the window is clicked THEN the value is committed and the editors close.
// The callback hears of both ends with the editor's windows.
// (The commit's clamp is the General page's polling-time test, the number read from the text
// the polling-time table's.)
TEST_F(TreeOptionsTest, SpinArrowsKeepTheEditAnotherWidgetEndsIt)
{
    QTreeWidgetItem *row = tree->InsertItem(QStringLiteral("Polling"), 0, 0);
    tree->AddSpinEditBox(row, &CTreeOptionsEdit::staticMetaObject,
                         &CTreeOptionsSpinCtrl::staticMetaObject);
    tree->SetEditText(row, QStringLiteral("7"));
    valueRow(QStringLiteral("Below"), QStringLiteral("b"), nullptr); // where Down would go
    show();
    tree->setCurrentItem(row);
    CTreeOptionsEdit *edit = tree->editEditor();
    CTreeOptionsSpinCtrl *spin = tree->spinControl();
    ASSERT_TRUE(edit && spin);
    EXPECT_EQ(edit->text(), QStringLiteral("7"));
    EXPECT_EQ(row->text(0), QStringLiteral("Polling")); // the label alone while editing
    EXPECT_EQ(spin->geometry().left(), edit->geometry().right() + 1); // at the edit's right edge
    EXPECT_EQ(calls,
              (std::vector<EditorCall> {{EditorNotifyCode::EditorCreated, row, edit, spin}}));

    QTest::mouseClick(edit, Qt::LeftButton);
    ASSERT_TRUE(edit->hasFocus());
    auto *up = spin->findChild<QToolButton *>(QStringLiteral("spinUp"));
    QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_TRUE(spin->hasFocus());
    EXPECT_TRUE(tree->editorsOpen());
    EXPECT_EQ(edit->text(), QStringLiteral("9"));
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_Up); // the edit's arrow keys step too
    EXPECT_TRUE(tree->editorsOpen());
    // Digits only, as the General page asks for: a letter is refused with the beep.
    edit->ModifyStyle(0, setupmgr::editorstyle::kEditNumber);
    const int beeps = setupmgr::beepCount();
    QTest::keyClicks(edit, QStringLiteral("x"));
    EXPECT_EQ(setupmgr::beepCount(), beeps + 1);
    EXPECT_EQ(edit->text(), QStringLiteral("10"));

    spin->SetRange(5, 60);
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_Down);
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_TRUE(tree->editorsOpen());
    EXPECT_EQ(tree->currentItem(), row);
    EXPECT_EQ(edit->text(), QStringLiteral("8"));
    edit->setText(QStringLiteral("60"));
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(edit->text(), QStringLiteral("60"));
    EXPECT_TRUE(spin->hasFocus());
    // Assistive tools read the range and the number, and set it.
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(spin);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::SpinBox);
    QAccessibleValueInterface *value = face->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(std::tuple(value->minimumValue().toInt(), value->maximumValue().toInt(),
                         value->currentValue().toInt()),
              std::tuple(5, 60, 60));
    value->setCurrentValue(12);
    EXPECT_EQ(face->text(QAccessible::Value), QStringLiteral("12"));

    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_FALSE(tree->editorsOpen());
    EXPECT_EQ(row->text(0), QStringLiteral("Polling: 12"));
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], (EditorCall {EditorNotifyCode::EditorClosing, row, edit, nullptr}));
}

TEST_F(TreeOptionsTest, DropDownListKeepsTheEditAndTheCallbackFillsIt)
{
    QTreeWidgetItem *row = tree->InsertItem(QStringLiteral("Mode"), 0, 0);
    tree->AddComboBox(row, &CTreeOptionsCombo::staticMetaObject);
    tree->SetComboText(row, QStringLiteral("be"));
    tree->SetEditorCallback(
        [](EditorNotifyCode code, QTreeWidgetItem *, QWidget *first, QWidget *, void *) {
            if (code == EditorNotifyCode::EditorCreated)
                static_cast<CTreeOptionsCombo *>(first)->addItems({"alpha", "beta", "gamma"});
        },
        nullptr);
    show();
    tree->setCurrentItem(row);
    CTreeOptionsCombo *combo = tree->comboEditor();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentText(), QStringLiteral("beta")); // the entry the value starts
    combo->setFocus();
    combo->showPopup();
    EXPECT_TRUE(tree->editorsOpen());
    QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    EXPECT_TRUE(tree->editorsOpen());
    // The focus leaving the application keeps it open too.
    QApplication::setActiveWindow(nullptr);
    EXPECT_TRUE(tree->editorsOpen());
    QApplication::setActiveWindow(window.get());
    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_FALSE(tree->editorsOpen());
    EXPECT_EQ(row->text(0), QStringLiteral("Mode: gamma"));
}

TEST_F(TreeOptionsTest, CalendarKeepsTheDateEditOpen)
{
    QTreeWidgetItem *row = tree->InsertItem(QStringLiteral("Day"), 0, 0);
    tree->AddComboBox(row, &CTreeOptionsDateCtrl::staticMetaObject);
    tree->SetDateTime(row, QDateTime(QDate(2023, 5, 17), QTime(8, 0)));
    show();
    tree->setCurrentItem(row);
    CTreeOptionsDateCtrl *date = tree->dateTimeEditor();
    ASSERT_NE(date, nullptr);
    date->setFocus();
    // The drop-down arrow sits at the right end.
    QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(date->width() - 4, date->height() / 2));
    ASSERT_TRUE(date->calendarWidget() && date->calendarWidget()->isVisible());
    EXPECT_TRUE(tree->editorsOpen());
    date->calendarWidget()->setSelectedDate(QDate(2023, 5, 20));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(tree->editorsOpen());
    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_FALSE(tree->editorsOpen());
    QDateTime stored;
    tree->GetDateTime(row, &stored);
    EXPECT_EQ(stored.date(), QDate(2023, 5, 20));
    EXPECT_EQ(tree->GetComboText(row), QLocale().toString(stored.date(), QLocale::ShortFormat));
}

// Focus moves between the address fields without ending the edit; a blank field stores nothing
// and the row shows the address it had.
TEST_F(TreeOptionsTest, AddressStoresOnlyFourFilledFields)
{
    QTreeWidgetItem *row = tree->InsertItem(QStringLiteral("Server"), 0, 0);
    tree->AddComboBox(row, &CTreeOptionsIPAddressCtrl::staticMetaObject);
    tree->SetIPAddress(row, 0x0A000001u);
    EXPECT_EQ(row->text(0), QStringLiteral("Server: 10.0.0.1"));
    show();
    tree->setCurrentItem(row);
    CTreeOptionsIPAddressCtrl *address = tree->addressEditor();
    ASSERT_NE(address, nullptr);
    address->field(0)->setFocus();
    address->field(0)->selectAll();
    // Typed where the focus is: the fields pass it on as they fill.
    for (const QChar c : QStringLiteral("192.168.1.1"))
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    EXPECT_TRUE(tree->editorsOpen());
    tree->CommitAndCloseEditors();
    EXPECT_EQ(tree->GetIPAddress(row), 0xC0A80101u);
    EXPECT_EQ(row->text(0), QStringLiteral("Server: 192.168.1.1"));

    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->labelRect(row).center());
    ASSERT_NE(tree->addressEditor(), nullptr);
    tree->addressEditor()->field(2)->clear();
    tree->CommitAndCloseEditors();
    EXPECT_EQ(tree->GetIPAddress(row), 0xC0A80101u);
    EXPECT_EQ(row->text(0), QStringLiteral("Server: 192.168.1.1"));
}

TEST_F(TreeOptionsTest, TabGoesToTheBrowseButtonWhenThereIsOneElseToTheTree)
{
    QTreeWidgetItem *file = tree->InsertItem(QStringLiteral("File"), 0, 0);
    tree->AddBrowseEditBox(file, &CTreeOptionsEdit::staticMetaObject,
                           &CTreeOptionsBrowseButton::staticMetaObject);
    QTreeWidgetItem *plain = valueRow(QStringLiteral("Plain"), QStringLiteral("p"), nullptr);
    show();
    tree->setCurrentItem(file);
    CTreeOptionsEdit *edit = tree->editEditor();
    CTreeOptionsBrowseButton *button = tree->browseButton();
    ASSERT_TRUE(edit && button);
    EXPECT_LE(edit->geometry().right(), button->geometry().left());
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(button->hasFocus());
    EXPECT_TRUE(tree->editorsOpen());

    tree->setCurrentItem(plain);
    ASSERT_NE(tree->editEditor(), nullptr);
    tree->editEditor()->setFocus();
    QTest::keyClick(tree->editEditor(), Qt::Key_Tab);
    EXPECT_TRUE(tree->hasFocus());
    EXPECT_FALSE(tree->editorsOpen());
    EXPECT_EQ(plain->text(0), QStringLiteral("Plain: p"));
}

// The user's scrolling and the wheel each commit the value and close the editors, as the focus
// going to another widget does (the spin row's test); a click on the selected row's label opens
// them again.
TEST_F(TreeOptionsTest, ScrollingEndsTheEditRightArrowFocusesTheEditor)
{
    QTreeWidgetItem *first = valueRow(QStringLiteral("Row 0"), QStringLiteral("v"), nullptr);
    for (int i = 1; i < 60; ++i)
        valueRow(QStringLiteral("Row %1").arg(i), QStringLiteral("v"), nullptr);
    show();
    tree->setCurrentItem(first);
    tree->CommitAndCloseEditors();
    ASSERT_FALSE(tree->editorsOpen());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->labelRect(first).center());
    ASSERT_TRUE(tree->editorsOpen());
    QTest::keyClick(tree, Qt::Key_Right);
    ASSERT_NE(tree->editEditor(), nullptr);
    EXPECT_TRUE(tree->editEditor()->hasFocus());
    tree->editEditor()->setText(QStringLiteral("w"));
    tree->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_FALSE(tree->editorsOpen());
    EXPECT_EQ(first->text(0), QStringLiteral("Row 0: w"));

    tree->setCurrentItem(tree->topLevelItem(5));
    ASSERT_TRUE(tree->editorsOpen());
    tree->editEditor()->setText(QStringLiteral("x"));
    const QPointF centre = QRectF(tree->viewport()->rect()).center();
    QWheelEvent wheel(centre, tree->viewport()->mapToGlobal(centre), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(tree->viewport(), &wheel);
    EXPECT_FALSE(tree->editorsOpen());
    EXPECT_EQ(tree->topLevelItem(5)->text(0), QStringLiteral("Row 5: x"));
}

// An edit class whose style asks for several lines.
class MultiLineEdit : public CTreeOptionsEdit
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit MultiLineEdit(QWidget *parent = nullptr)
        : CTreeOptionsEdit(parent)
    { }
    setupmgr::editorstyle::Style GetEditorStyle() const override
    {
        return CTreeOptionsEdit::GetEditorStyle() | setupmgr::editorstyle::kEditMultiLine;
    }
    int GetEditorHeight(int) const override { return 60; }
};

// The multi-line value floats in a window of its own, is stored whole in the record and shown
// in the row by its first line.
TEST_F(TreeOptionsTest, MultiLineValueIsKeptWholeAndShownByItsFirstLine)
{
    QTreeWidgetItem *row = tree->InsertItem(QStringLiteral("Note"), 0, 0);
    tree->AddEditBox(row, &MultiLineEdit::staticMetaObject);
    tree->GetItemRecord(row)->text = QStringLiteral("first\r\nsecond");
    show();
    tree->setCurrentItem(row);
    CMultiLineEditFrameWnd *frame = tree->multiLineFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isWindow());
    EXPECT_EQ(frame->height(), 60);

    frame->textEdit()->setPlainText(QStringLiteral("one\ntwo\nthree"));
    tree->CommitAndCloseEditors();
    EXPECT_EQ(row->text(0), QStringLiteral("Note: one..."));
    EXPECT_EQ(tree->GetItemRecord(row)->text, QStringLiteral("one\ntwo\nthree"));
    EXPECT_EQ(tree->multiLineFrame(), nullptr);
}

// The "..." button of every kind of row: a file or folder edit, or a lone colour or font button.
class ChooserTest : public TreeOptionsTest, public ::testing::WithParamInterface<OptionItemKind>
{
protected:
    // A row of the kind, selected in the shown window: its "..." button is open.
    CTreeOptionsBrowseButton *openChooserRow()
    {
        QTreeWidgetItem *row = tree->InsertItem(QStringLiteral("Pick"), 0, 0);
        const OptionItemKind kind = GetParam();
        if (kind == OptionItemKind::FileEdit || kind == OptionItemKind::FolderEdit)
            tree->AddBrowseEditBox(row, &CTreeOptionsEdit::staticMetaObject,
                                   &CTreeOptionsBrowseButton::staticMetaObject);
        else
            tree->AddEditBox(row, &CTreeOptionsBrowseButton::staticMetaObject);
        tree->GetItemRecord(row)->kind = kind;
        show();
        tree->setCurrentItem(row);
        return tree->browseButton();
    }
};

// The tree goes while its chooser runs: the chooser goes with it, and nothing that went is
// touched when the chooser returns. (Run under ASan.)
TEST_P(ChooserTest, TreeDestroyedWhileTheChooserRuns)
{
    CTreeOptionsBrowseButton *button = openChooserRow();
    ASSERT_NE(button, nullptr);
    bool ran = false;
    QTimer::singleShot(0, [this, &ran] {
        const QPointer<QWidget> chooser = QApplication::activeModalWidget();
        ran = chooser != nullptr;
        delete tree;
        tree = nullptr;
        if (chooser)
            chooser->close();
    });
    button->click();
    settle();
    EXPECT_TRUE(ran);
    EXPECT_EQ(window->findChild<CTreeOptionsCtrl *>(), nullptr);
}

// A click that reaches a closed button, before its deferred deletion, does nothing: its row may
// be gone.
TEST_P(ChooserTest, ClosedButtonIgnoresALateClick)
{
    const QPointer<CTreeOptionsBrowseButton> button = openChooserRow();
    ASSERT_NE(button, nullptr);
    delete tree->editedRow();
    ASSERT_FALSE(tree->editorsOpen());
    ASSERT_NE(button, nullptr);
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        if (QWidget *chooser = QApplication::activeModalWidget()) {
            opened = true;
            chooser->close();
        }
    });
    button->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(opened);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ChooserTest,
                         ::testing::Values(OptionItemKind::FileEdit, OptionItemKind::FolderEdit,
                                           OptionItemKind::Colour, OptionItemKind::Font));

// The lone "..." button of a colour row writes the chosen colour into the row, and the editors
// open again once the button's click has returned. When the edit ended while the chooser ran
// (the user's selection moved on), the colour lands on no row, least of all the newly selected.
TEST_F(TreeOptionsTest, ColourChooserWritesOnlyTheRowStillEdited)
{
    QTreeWidgetItem *row = tree->InsertItem(QStringLiteral("Colour"), 0, 0);
    tree->AddEditBox(row, &CTreeOptionsBrowseButton::staticMetaObject);
    tree->GetItemRecord(row)->kind = OptionItemKind::Colour;
    tree->SetColor(row, QColor(255, 0, 0));
    QTreeWidgetItem *other = valueRow(QStringLiteral("Other"), QStringLiteral("o"), nullptr);
    show();
    tree->setCurrentItem(row);
    ASSERT_NE(tree->browseButton(), nullptr);
    whenModal<QColorDialog>([this, other](QColorDialog *dialog) {
        tree->setCurrentItem(other);
        dialog->setCurrentColor(QColor(0, 128, 255));
        dialog->accept();
    });
    tree->browseButton()->click();
    QCoreApplication::processEvents();
    tree->CommitAndCloseEditors();
    EXPECT_EQ(other->text(0), QStringLiteral("Other: o"));
    EXPECT_EQ(tree->GetColor(row), QColor(255, 0, 0));
    EXPECT_EQ(row->text(0), QStringLiteral("Colour: &FF0000"));

    tree->setCurrentItem(row);
    const QPointer<CTreeOptionsBrowseButton> button = tree->browseButton();
    ASSERT_NE(button, nullptr);
    whenModal<QColorDialog>([](QColorDialog *dialog) {
        dialog->setCurrentColor(QColor(0, 128, 255));
        dialog->accept();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(row->text(0), QStringLiteral("Colour: &0080FF"));
    EXPECT_EQ(tree->browseButton(), button); // still open while its click runs
    QCoreApplication::processEvents();
    settle();
    EXPECT_TRUE(button.isNull());
    ASSERT_NE(tree->browseButton(), nullptr);
    EXPECT_EQ(tree->browseButton()->GetColor(), QColor(0, 128, 255));
    EXPECT_EQ(tree->GetColor(row), QColor(0, 128, 255));
}

} // namespace

#include "tree_options_editor_test.moc"
