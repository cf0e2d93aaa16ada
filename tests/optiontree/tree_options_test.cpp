// The option tree's rows: radio walks, check-box propagation, value texts, copies, deletion,
// what assistive tools read, and the glyphs it paints.
#include "tree_options_fixture.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QImage>
#include <QStyle>

#include <string>

namespace {

// Children of one group, one character each: R an unchecked radio row, X a checked one,
// g a group heading.
struct RadioCase
{
    const char *children;
    int setIndex; // SetRadioButton (parent, index); -1 leaves the rows as they are
    const char *after;
    bool found;
    int index; // what GetRadioButton (parent) reports; 42 when it leaves it alone
};

class RadioWalk : public TreeOptionsTest, public ::testing::WithParamInterface<RadioCase>
{
};

std::string checkedPattern(CTreeOptionsCtrl *tree, QTreeWidgetItem *group)
{
    std::string pattern;
    for (int i = 0; i < group->childCount(); ++i) {
        bool checked = false;
        pattern += tree->GetRadioButton(group->child(i), &checked) ? (checked ? 'X' : 'R') : 'g';
    }
    return pattern;
}

TEST_P(RadioWalk, SetAndGetByIndexWalkTheRunOfRadioRows)
{
    const RadioCase &c = GetParam();
    QTreeWidgetItem *group = tree->InsertGroup(QStringLiteral("Group"), 1);
    for (const char *child = c.children; *child; ++child) {
        if (*child == 'g')
            tree->InsertGroup(QStringLiteral("Heading"), 1, group);
        else
            tree->InsertRadioButton(QStringLiteral("Radio"), group, false);
    }
    // Checked rows are set afterwards, so that inserting does not uncheck them again.
    for (int i = 0; c.children[i]; ++i) {
        OptionItemData *record = tree->GetItemRecord(group->child(i));
        record->checked = c.children[i] == 'X';
    }
    if (c.setIndex >= 0) {
        EXPECT_TRUE(tree->SetRadioButton(group, c.setIndex));
    }
    EXPECT_EQ(checkedPattern(tree, group), c.after);

    int index = 42;
    QTreeWidgetItem *row = nullptr;
    EXPECT_EQ(tree->GetRadioButton(group, &index, &row), c.found);
    EXPECT_EQ(index, c.index);
    EXPECT_EQ(row != nullptr, c.found);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RadioWalk,
    ::testing::Values(RadioCase {"RXR", 2, "RRX", true, 2},
                      // The walk stops at the heading: nothing is checked, the first two cleared.
                      RadioCase {"XRgX", 2, "RRgX", true, 0}, RadioCase {"gXR", 0, "gXR", true, 0},
                      RadioCase {"RRR", -1, "RRR", false, 42},
                      RadioCase {"RRgRX", -1, "RRgRX", true, 1}));

TEST_F(TreeOptionsTest, RadioRowSelectionUnchecksItsRunAndInsertingCheckedSelectsTheLast)
{
    QTreeWidgetItem *group = tree->InsertGroup(QStringLiteral("Language"), 1);
    QTreeWidgetItem *first = tree->InsertRadioButton(QStringLiteral("Korean"), group);
    QTreeWidgetItem *second = tree->InsertRadioButton(QStringLiteral("English"), group);
    EXPECT_EQ(checkedPattern(tree, group), "RX");
    EXPECT_TRUE(tree->SetRadioButton(first));
    EXPECT_EQ(checkedPattern(tree, group), "XR");
    // A check box is no radio row: the radio operations refuse it.
    QTreeWidgetItem *box = tree->InsertCheckBox(QStringLiteral("Box"), group);
    bool checked = false;
    EXPECT_FALSE(tree->SetRadioButton(box));
    EXPECT_FALSE(tree->GetRadioButton(box, &checked));
    EXPECT_FALSE(tree->SetCheckBox(second, true));
}

TEST_F(TreeOptionsTest, ToggleReachesChildrenAndOneParentLevel)
{
    QTreeWidgetItem *parent = tree->InsertCheckBox(QStringLiteral("All"), nullptr, true);
    QTreeWidgetItem *a = tree->InsertCheckBox(QStringLiteral("A"), parent, true);
    QTreeWidgetItem *b = tree->InsertCheckBox(QStringLiteral("B"), parent, true);
    QTreeWidgetItem *grandchild = tree->InsertCheckBox(QStringLiteral("A1"), a, true);
    QTreeWidgetItem *radio = tree->InsertRadioButton(QStringLiteral("R"), parent, true);
    auto state = [&](QTreeWidgetItem *row) {
        bool checked = false;
        bool semi = false;
        tree->GetCheckBox(row, &checked);
        tree->GetCheckBoxSemi(row, &semi);
        return std::string(checked ? "on" : "off") + (semi ? "+semi" : "");
    };

    tree->ApplyCheckBoxToggle(nullptr, true); // no row: nothing to toggle
    EXPECT_TRUE(tree->userToggle(parent));
    EXPECT_EQ(state(parent), "off");
    EXPECT_EQ(state(a), "off");
    EXPECT_EQ(state(b), "off");
    EXPECT_EQ(state(grandchild), "on"); // grandchildren are not touched
    bool radioChecked = false;
    tree->GetRadioButton(radio, &radioChecked);
    EXPECT_TRUE(radioChecked);

    EXPECT_TRUE(tree->userToggle(a));
    EXPECT_EQ(state(parent), "on+semi");
    EXPECT_TRUE(tree->userToggle(b));
    EXPECT_EQ(state(parent), "on");
    tree->userToggle(a);
    EXPECT_EQ(state(grandchild), "off"); // a's own children follow a
    EXPECT_EQ(state(parent), "on+semi");
    tree->userToggle(b);
    EXPECT_EQ(state(parent), "off");

    // The mixed parent toggled by the user leaves no child mixed and is no longer semi-checked.
    tree->userToggle(a);
    tree->userToggle(parent);
    EXPECT_EQ(state(parent), "off");
    EXPECT_EQ(state(a), "off");
    EXPECT_EQ(calls.size(), 7u);
    for (const EditorCall &call : calls) {
        EXPECT_EQ(call.code, EditorNotifyCode::OptionToggled);
        EXPECT_EQ(call.row, nullptr);
    }
}

// Disabled rows and an already checked radio row neither change nor call back, by click or key.
TEST_F(TreeOptionsTest, ClicksAndSpaceToggleOnlyWhatMayChange)
{
    QTreeWidgetItem *radio = tree->InsertRadioButton(QStringLiteral("Checked radio"));
    QTreeWidgetItem *second
        = tree->InsertRadioButton(QStringLiteral("Other radio"), nullptr, false);
    QTreeWidgetItem *box = tree->InsertCheckBox(QStringLiteral("Disabled box"), nullptr, false);
    QTreeWidgetItem *group = tree->InsertGroup(QStringLiteral("Group"), 1);
    tree->InsertCheckBox(QStringLiteral("Child"), group);
    tree->SetChildrenEnable(group, false);
    tree->SetCheckBoxEnable(box, false);
    show();

    auto clickLabel = [&](QTreeWidgetItem *row) {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->labelRect(row).center());
    };
    clickLabel(box);
    clickLabel(radio);
    tree->setCurrentItem(group->child(0));
    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_TRUE(calls.empty());
    bool state = true;
    tree->GetCheckBox(box, &state);
    EXPECT_FALSE(state);
    tree->GetCheckBox(group->child(0), &state);
    EXPECT_TRUE(state);

    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->imageRect(second).center());
    tree->GetRadioButton(second, &state);
    EXPECT_TRUE(state);
    tree->GetRadioButton(radio, &state);
    EXPECT_FALSE(state);
    EXPECT_EQ(calls.size(), 1u);
}

// A colour row's text is checked with its chooser, a date row's with its calendar.
TEST_F(TreeOptionsTest, ValueTextRules)
{
    // The first separator splits label and value.
    QTreeWidgetItem *split = tree->InsertItem(QStringLiteral("Note: a: b"), 0, 0);
    EXPECT_EQ(tree->GetEditText(split), QStringLiteral("a: b"));
    tree->SetComboText(split, QStringLiteral("c"));
    EXPECT_EQ(split->text(0), QStringLiteral("Note: c"));
    tree->RemoveValueText(split);
    EXPECT_EQ(split->text(0), QStringLiteral("Note"));
    EXPECT_EQ(tree->GetComboText(split), QString());

    // Rows without a record take no typed value.
    tree->SetEditText(split, QStringLiteral("x"));
    EXPECT_EQ(split->text(0), QStringLiteral("Note"));
}

TEST_F(TreeOptionsTest, CopyBranchCopiesRecordsInOrderUnderTheNewParent)
{
    QTreeWidgetItem *source = tree->InsertGroup(QStringLiteral("Source"), 1);
    QTreeWidgetItem *box = tree->InsertCheckBox(QStringLiteral("Box"), source, false);
    tree->InsertCheckBox(QStringLiteral("Nested"), box, true);
    QTreeWidgetItem *password = tree->InsertItem(QStringLiteral("Password"), 0, 0, source);
    tree->AddEditBox(password, &CTreeOptionsEdit::staticMetaObject, true);
    tree->SetEditText(password, QStringLiteral("abc"));

    // Into its own branch: only the children it had are copied.
    QTreeWidgetItem *copy = tree->CopyBranch(source, source, CTreeOptionsCtrl::InsertAfter::First);
    ASSERT_EQ(source->child(0), copy);
    ASSERT_EQ(copy->childCount(), 2);
    EXPECT_EQ(copy->child(0)->text(0), QStringLiteral("Box"));
    EXPECT_EQ(copy->child(0)->child(0)->text(0), QStringLiteral("Nested"));
    EXPECT_EQ(copy->child(1)->text(0), QStringLiteral("Password: ***"));
    int image = -1;
    tree->GetItemImage(copy, &image, nullptr);
    EXPECT_EQ(image, 1);

    // The records are copies, not shared. The masked row is edited as its real value, in a
    // password edit, and stays masked.
    tree->setCurrentItem(password);
    CTreeOptionsEdit *edit = tree->editEditor();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("abc"));
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    edit->setText(QStringLiteral("xyz"));
    tree->CommitAndCloseEditors();
    EXPECT_EQ(password->text(0), QStringLiteral("Password: ***"));
    EXPECT_EQ(tree->GetItemRecord(password)->text, QStringLiteral("xyz"));
    EXPECT_EQ(tree->GetItemRecord(copy->child(1))->text, QStringLiteral("abc"));
    tree->SetCheckBox(box, true);
    bool checked = true;
    tree->GetCheckBox(copy->child(0), &checked);
    EXPECT_FALSE(checked);
}

// A tree opens editors only over its own rows; a row of another tree would be deleted without
// this tree hearing of it.
TEST_F(TreeOptionsTest, EditorsOpenOnlyOverTheTreesOwnRows)
{
    auto *otherTree = new CTreeOptionsCtrl(window.get());
    QTreeWidgetItem *foreign = otherTree->InsertItem(QStringLiteral("Name"), 0, 0);
    otherTree->AddEditBox(foreign, &CTreeOptionsEdit::staticMetaObject);
    tree->CreateEditors(foreign);
    EXPECT_FALSE(tree->editorsOpen());
    delete otherTree;
    tree->CommitAndCloseEditors();
}

// What goes while a row is edited (the row, its group, or every row), and what the user's
// callback does when it hears that the editor closes: rebuild the tree, or delete the editor it
// was handed.
enum class Deleted { Row, Group, All };

struct ClosingAction
{
    const char *name;
    Deleted deleted;
    bool rebuild; // DeleteAllItems, as a page that reloads its values does
};

class DeletingTheEditedRow : public TreeOptionsTest,
                             public ::testing::WithParamInterface<ClosingAction>
{
protected:
    struct Heard
    {
        CTreeOptionsCtrl *tree;
        bool rebuild;
        int created = 0;
        int closings = 0;
        OptionItemKind kind = OptionItemKind::None;
    };

    static void onClosing(EditorNotifyCode code, QTreeWidgetItem *row, QWidget *first, QWidget *,
                          void *user)
    {
        auto *heard = static_cast<Heard *>(user);
        if (code == EditorNotifyCode::EditorCreated)
            ++heard->created;
        if (code != EditorNotifyCode::EditorClosing)
            return;
        ++heard->closings;
        const OptionItemData *record = heard->tree->GetItemRecord(row);
        heard->kind = record ? record->kind : OptionItemKind::None;
        if (heard->rebuild)
            heard->tree->DeleteAllItems();
        else
            delete first;
    }
};

// The user hears of the closing editor while the row is still whole, and nothing it does then
// reaches the row a second time; the selection moving on opens no editor. (Run under ASan.)
TEST_P(DeletingTheEditedRow, TellsTheUserWhileTheRowIsWhole)
{
    const ClosingAction &c = GetParam();
    QTreeWidgetItem *group = tree->InsertGroup(QStringLiteral("Group"), 1);
    QTreeWidgetItem *row = valueRow(QStringLiteral("Name"), QStringLiteral("v"), group);
    QTreeWidgetItem *other = valueRow(QStringLiteral("Other"), QStringLiteral("o"), nullptr);
    valueRow(QStringLiteral("Last"), QStringLiteral("l"), nullptr);
    tree->expandAll();
    // Deleting every row, the selection moves from a top-level row to the next.
    tree->setCurrentItem(c.deleted == Deleted::All ? other : row);
    ASSERT_TRUE(tree->editorsOpen());
    Heard heard {tree, c.rebuild};
    tree->SetEditorCallback(&DeletingTheEditedRow::onClosing, &heard);

    if (c.deleted == Deleted::All)
        tree->DeleteAllItems();
    else
        delete (c.deleted == Deleted::Group ? group : row);
    EXPECT_FALSE(tree->editorsOpen());
    EXPECT_EQ(heard.created, 0);
    EXPECT_EQ(heard.closings, 1);
    EXPECT_EQ(heard.kind, OptionItemKind::Edit);
    const int left = c.rebuild || c.deleted == Deleted::All ? 0
        : c.deleted == Deleted::Group                       ? 2
                                                            : 3;
    EXPECT_EQ(tree->topLevelItemCount(), left);
    settle();
    EXPECT_EQ(tree->viewport()->findChildren<QLineEdit *>().size(), 0);
}

INSTANTIATE_TEST_SUITE_P(Actions, DeletingTheEditedRow,
                         ::testing::Values(ClosingAction {"RowRebuild", Deleted::Row, true},
                                           ClosingAction {"GroupRebuild", Deleted::Group, true},
                                           ClosingAction {"RowDeleteEditor", Deleted::Row, false},
                                           ClosingAction {"AllDeleteEditor", Deleted::All, false}),
                         [](const auto &info) { return std::string(info.param.name); });

// A row taken out of the tree lives on: it keeps the value being edited, whether it or a group
// above it is taken.
TEST_F(TreeOptionsTest, TakingTheEditedRowOutKeepsItsValue)
{
    QTreeWidgetItem *group = tree->InsertGroup(QStringLiteral("Group"), 1);
    QTreeWidgetItem *row = valueRow(QStringLiteral("Name"), QStringLiteral("old"), group);
    QTreeWidgetItem *top = valueRow(QStringLiteral("Top"), QStringLiteral("old"), nullptr);
    tree->expandAll();

    tree->setCurrentItem(row);
    ASSERT_NE(tree->editEditor(), nullptr);
    tree->editEditor()->setText(QStringLiteral("new"));
    const std::unique_ptr<QTreeWidgetItem> taken(
        tree->takeTopLevelItem(tree->indexOfTopLevelItem(group)));
    EXPECT_FALSE(tree->editorsOpen());
    EXPECT_EQ(row->text(0), QStringLiteral("Name: new"));

    tree->setCurrentItem(top);
    ASSERT_NE(tree->editEditor(), nullptr);
    tree->editEditor()->setText(QStringLiteral("new"));
    tree->invisibleRootItem()->removeChild(top);
    const std::unique_ptr<QTreeWidgetItem> removed(top);
    EXPECT_EQ(top->text(0), QStringLiteral("Top: new"));
    settle();
}

TEST_F(TreeOptionsTest, AssistiveToolsReadRolesStatesAndValuesAndHearToggles)
{
    QTreeWidgetItem *group = tree->InsertGroup(QStringLiteral("Alarm"), 1);
    QTreeWidgetItem *box = tree->InsertCheckBox(QStringLiteral("Connect"), group, true);
    QTreeWidgetItem *radio = tree->InsertRadioButton(QStringLiteral("Korean"), group, false);
    valueRow(QStringLiteral("Polling"), QStringLiteral("30"), group);
    tree->SetRadioButtonEnable(radio, false);

    QAccessibleInterface *treeFace = QAccessible::queryAccessibleInterface(tree);
    ASSERT_NE(treeFace, nullptr);
    EXPECT_EQ(treeFace->role(), QAccessible::Tree);
    QAccessibleInterface *groupFace = treeFace->child(0);
    ASSERT_NE(groupFace, nullptr);
    EXPECT_EQ(groupFace->role(), QAccessible::Grouping);
    ASSERT_EQ(groupFace->childCount(), 3);
    QAccessibleInterface *boxFace = groupFace->child(0);
    QAccessibleInterface *radioFace = groupFace->child(1);
    QAccessibleInterface *valueFace = groupFace->child(2);
    EXPECT_EQ(boxFace->role(), QAccessible::CheckBox);
    EXPECT_TRUE(boxFace->state().checked);
    EXPECT_EQ(radioFace->role(), QAccessible::RadioButton);
    EXPECT_TRUE(radioFace->state().disabled);
    EXPECT_FALSE(radioFace->state().checked);
    EXPECT_EQ(valueFace->text(QAccessible::Name), QStringLiteral("Polling"));
    EXPECT_EQ(valueFace->text(QAccessible::Value), QStringLiteral("30"));
    EXPECT_EQ(boxFace->parent(), groupFace);
    EXPECT_EQ(groupFace->indexOfChild(radioFace), 1);

    // Assistive tools toggle it like a click. (Qt delivers the state-change event that goes with
    // it only while a platform accessibility bridge is active, which the offscreen platform
    // never is.)
    boxFace->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(boxFace->state().checked);
    EXPECT_EQ(calls.size(), 1u);

    // A row that goes takes its interface with it.
    const QAccessible::Id id = QAccessible::uniqueId(boxFace);
    delete box;
    EXPECT_EQ(QAccessible::accessibleInterface(id), nullptr);
}

// The glyphs in the classic look and in a themed one: drawn over the image, changing with the
// check, on a grey ground when semi-checked; and nothing at all without images.
class Painting : public TreeOptionsTest, public ::testing::WithParamInterface<const char *>
{
protected:
    void SetUp() override
    {
        m_previous = QApplication::style()->name();
        QApplication::setStyle(QString::fromLatin1(GetParam()));
        TreeOptionsTest::SetUp();
    }
    void TearDown() override
    {
        TreeOptionsTest::TearDown();
        QApplication::setStyle(m_previous);
    }

    QImage glyphArea(QTreeWidgetItem *row)
    {
        const QImage shot = tree->viewport()->grab().toImage();
        return shot.copy(tree->imageRect(row));
    }

    static int pixelsNot(const QImage &image, QRgb colour)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                count += (image.pixel(x, y) & 0xffffff) != (colour & 0xffffff);
        }
        return count;
    }

private:
    QString m_previous;
};

TEST_P(Painting, GlyphsCoverTheImageAndFollowTheState)
{
    EXPECT_EQ(ThemeLibrary::themed(), QString::fromLatin1(GetParam()) != QLatin1String("windows"));
    QTreeWidgetItem *box = tree->InsertCheckBox(QStringLiteral("Box"), nullptr, true);
    tree->InsertCheckBox(QStringLiteral("Child"), box, true);
    QTreeWidgetItem *radio = tree->InsertRadioButton(QStringLiteral("Radio"));
    QTreeWidgetItem *unlabelled = tree->InsertCheckBox(QString());
    tree->expandAll();
    show();
    const QRgb base = tree->palette().color(QPalette::Base).rgb();
    const QRgb image = QColor(0, 0, 255).rgb();

    const QImage checked = glyphArea(box);
    ASSERT_FALSE(checked.isNull());
    EXPECT_EQ(pixelsNot(checked, image), checked.width() * checked.height()); // image covered
    EXPECT_GT(pixelsNot(checked, base), 20);                                  // a glyph is drawn
    EXPECT_EQ(checked.pixel(0, 0) & 0xffffff, base & 0xffffff);

    tree->SetCheckBox(box, false);
    EXPECT_NE(glyphArea(box), checked);
    tree->SetCheckBoxSemi(box, true);
    EXPECT_EQ(glyphArea(box).pixel(0, 0), tree->palette().color(QPalette::Button).rgb());
    const QImage enabledRadio = glyphArea(radio);
    tree->SetRadioButtonEnable(radio, false);
    EXPECT_NE(glyphArea(radio), enabledRadio);

    EXPECT_GT(
        pixelsNot(tree->viewport()->grab().toImage().copy(tree->visualItemRect(unlabelled)), base),
        0);
    tree->SetImageList({}, QSize());
    const QImage bare = tree->viewport()->grab().toImage();
    EXPECT_EQ(pixelsNot(bare.copy(tree->visualItemRect(unlabelled)), base), 0);
}

INSTANTIATE_TEST_SUITE_P(Styles, Painting, ::testing::Values("windows", "fusion"));

} // namespace
