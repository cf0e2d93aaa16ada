// The option tree's rows: radio walks, check-box propagation, value texts, copies, deletion,
// the glyphs it paints, and what assistive tools read and hear.
#include "tree_options_fixture.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QImage>
#include <QStyle>

#ifdef OSTREL_HAVE_QPA_ACCESSIBILITY
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#endif

#include <algorithm>
#include <string>

namespace {

std::string checkedPattern(CTreeOptionsCtrl *tree, QTreeWidgetItem *group)
{
    std::string pattern;
    for (int i = 0; i < group->childCount(); ++i) {
        bool checked = false;
        pattern += tree->GetRadioButton(group->child(i), &checked) ? (checked ? 'X' : 'R') : 'g';
    }
    return pattern;
}

// Set and get by index walk the run of radio rows and stop at a heading. Children of one group,
// one character each: R an unchecked radio row, X a checked one, g a group heading.
TEST_F(TreeOptionsTest, SetAndGetByIndexWalkTheRunOfRadioRows)
{
    const struct
    {
        const char *children;
        int setIndex; // SetRadioButton (parent, index); -1 leaves the rows as they are
        const char *after;
        bool found;
        int index; // what GetRadioButton (parent) reports; 42 when it leaves it alone
    } cases[] = {{"RXR", 2, "RRX", true, 2},
                 // The walk stops at the heading: nothing is checked, the first two cleared.
                 {"XRgX", 2, "RRgX", true, 0},
                 {"gXR", 0, "gXR", true, 0},
                 {"RRR", -1, "RRR", false, 42},
                 {"RRgRX", -1, "RRgRX", true, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.children);
        tree->DeleteAllItems();
        QTreeWidgetItem *group = tree->InsertGroup(QStringLiteral("Group"), 1);
        for (const char *child = c.children; *child; ++child) {
            if (*child == 'g')
                tree->InsertGroup(QStringLiteral("Heading"), 1, group);
            else
                tree->InsertRadioButton(QStringLiteral("Radio"), group, false);
        }
        // Checked rows are set afterwards, so that inserting does not uncheck them again.
        for (int i = 0; c.children[i]; ++i)
            tree->GetItemRecord(group->child(i))->checked = c.children[i] == 'X';
        if (c.setIndex >= 0) {
            EXPECT_TRUE(tree->SetRadioButton(group, c.setIndex));
        }
        EXPECT_EQ(checkedPattern(tree, group), c.after);
        int index = 42;
        QTreeWidgetItem *row = nullptr;
        EXPECT_EQ(tree->GetRadioButton(group, &index, &row), c.found);
        EXPECT_EQ(std::pair(index, row != nullptr), std::pair(c.index, c.found));
    }
}

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
    // The check of each row: "on", "off", "on+semi".
    auto state = [&](std::initializer_list<QTreeWidgetItem *> rows) {
        std::vector<std::string> states;
        for (QTreeWidgetItem *row : rows) {
            bool checked = false;
            bool semi = false;
            tree->GetCheckBox(row, &checked);
            tree->GetCheckBoxSemi(row, &semi);
            states.push_back(std::string(checked ? "on" : "off") + (semi ? "+semi" : ""));
        }
        return states;
    };
    using States = std::vector<std::string>;

    tree->ApplyCheckBoxToggle(nullptr, true); // no row: nothing to toggle
    EXPECT_TRUE(tree->userToggle(parent));
    // Grandchildren are not touched.
    EXPECT_EQ(state({parent, a, b, grandchild}), (States {"off", "off", "off", "on"}));
    bool radioChecked = false;
    tree->GetRadioButton(radio, &radioChecked);
    EXPECT_TRUE(radioChecked);

    EXPECT_TRUE(tree->userToggle(a));
    EXPECT_EQ(state({parent}), States {"on+semi"});
    EXPECT_TRUE(tree->userToggle(b));
    EXPECT_EQ(state({parent}), States {"on"});
    tree->userToggle(a);
    EXPECT_EQ(state({grandchild}), States {"off"}); // a's own children follow a
    EXPECT_EQ(state({parent}), States {"on+semi"});
    tree->userToggle(b);
    EXPECT_EQ(state({parent}), States {"off"});

    // The mixed parent toggled by the user leaves no child mixed and is no longer semi-checked.
    tree->userToggle(a);
    tree->userToggle(parent);
    EXPECT_EQ(state({parent, a}), (States {"off", "off"}));
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

// What the user's callback hears of the editor that closes as its row goes, and does then:
// rebuild the tree, or delete the editor it was handed.
struct HeardClosing
{
    CTreeOptionsCtrl *tree;
    bool rebuild; // DeleteAllItems, as a page that reloads its values does
    int created = 0;
    int closings = 0;
    OptionItemKind kind = OptionItemKind::None;

    static void onClosing(EditorNotifyCode code, QTreeWidgetItem *row, QWidget *first, QWidget *,
                          void *user)
    {
        auto *heard = static_cast<HeardClosing *>(user);
        heard->created += code == EditorNotifyCode::EditorCreated;
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

// The row, its group or every row goes while the row is edited. The user hears of the closing
// editor while the row is still whole, and nothing it does then reaches the row a second time;
// the selection moving on opens no editor. (Run under ASan.)
TEST_F(TreeOptionsTest, DeletingTheEditedRowTellsTheUserWhileTheRowIsWhole)
{
    enum class Deleted { Row, Group, All };
    const struct
    {
        Deleted deleted;
        bool rebuild;
        int left; // top-level rows left
    } cases[] = {{Deleted::Row, true, 0},
                 {Deleted::Group, true, 0},
                 {Deleted::Row, false, 3},
                 {Deleted::All, false, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.deleted) << (c.rebuild ? " rebuild" : " delete"));
        tree->DeleteAllItems();
        QTreeWidgetItem *group = tree->InsertGroup(QStringLiteral("Group"), 1);
        QTreeWidgetItem *row = valueRow(QStringLiteral("Name"), QStringLiteral("v"), group);
        QTreeWidgetItem *other = valueRow(QStringLiteral("Other"), QStringLiteral("o"), nullptr);
        valueRow(QStringLiteral("Last"), QStringLiteral("l"), nullptr);
        tree->expandAll();
        // Deleting every row, the selection moves from a top-level row to the next.
        tree->setCurrentItem(c.deleted == Deleted::All ? other : row);
        ASSERT_TRUE(tree->editorsOpen());
        HeardClosing heard {tree, c.rebuild};
        tree->SetEditorCallback(&HeardClosing::onClosing, &heard);

        if (c.deleted == Deleted::All)
            tree->DeleteAllItems();
        else
            delete (c.deleted == Deleted::Group ? group : row);
        EXPECT_FALSE(tree->editorsOpen());
        EXPECT_EQ(std::tuple(heard.created, heard.closings, heard.kind),
                  std::tuple(0, 1, OptionItemKind::Edit));
        EXPECT_EQ(tree->topLevelItemCount(), c.left);
        settle();
        EXPECT_EQ(tree->viewport()->findChildren<QLineEdit *>().size(), 0);
        tree->SetEditorCallback(nullptr, nullptr);
    }
}

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
    EXPECT_EQ(std::tuple(boxFace->role(), bool(boxFace->state().checked), boxFace->parent()),
              std::tuple(QAccessible::CheckBox, true, groupFace));
    EXPECT_EQ(std::tuple(radioFace->role(), bool(radioFace->state().disabled),
                         bool(radioFace->state().checked), groupFace->indexOfChild(radioFace)),
              std::tuple(QAccessible::RadioButton, true, false, 1));
    EXPECT_EQ(
        QStringList({valueFace->text(QAccessible::Name), valueFace->text(QAccessible::Value)}),
        QStringList({"Polling", "30"}));

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

#ifdef OSTREL_HAVE_QPA_ACCESSIBILITY

// What assistive tools hear: the focus and selection events name the row that the tree's
// accessible interface answers for. Records the events that Qt hands to a platform bridge, with the
// bridge switched on for as long as the recorder lives; the previous handler and state come back
// afterwards.
class AccessibleEventRecorder
{
public:
    struct Heard
    {
        QAccessible::Event type;
        QAccessibleInterface *target;
        QObject *object;
        int child;
        QAccessible::Id id;
    };

    AccessibleEventRecorder()
    {
        s_recorder = this;
        m_previousHandler = QAccessible::installUpdateHandler(&AccessibleEventRecorder::record);
        if (m_platform)
            m_platform->setActive(true);
    }
    ~AccessibleEventRecorder()
    {
        if (m_platform)
            m_platform->setActive(m_wasActive);
        QAccessible::installUpdateHandler(m_previousHandler);
    }

    // The last event of that type; one with no target when none came.
    Heard last(QAccessible::Event type) const
    {
        const auto found = std::find_if(events.rbegin(), events.rend(),
                                        [type](const Heard &heard) { return heard.type == type; });
        return found == events.rend() ? Heard {type, nullptr, nullptr, -1, 0} : *found;
    }

    std::vector<Heard> events;

private:
    static void record(QAccessibleEvent *event)
    {
        QAccessibleInterface *target = event->accessibleInterface();
        s_recorder->events.push_back({event->type(), target, event->object(), event->child(),
                                      target ? QAccessible::uniqueId(target) : 0});
    }

    static inline AccessibleEventRecorder *s_recorder = nullptr;
    QPlatformAccessibility *m_platform
        = QGuiApplicationPrivate::platformIntegration()->accessibility();
    bool m_wasActive = QAccessible::isActive();
    QAccessible::UpdateHandler m_previousHandler = nullptr;
};

QString nameOf(const QAccessibleInterface *face)
{
    return face ? face->text(QAccessible::Name) : QStringLiteral("(none)");
}

#endif

// Deleting the selected row takes it out of the selection while the row is still whole; no
// interface made for it then outlives it. (Run under ASan.)
TEST_F(TreeOptionsTest, FocusAndSelectionEventsNameTheRowTheTreeAnswersFor)
{
#ifndef OSTREL_HAVE_QPA_ACCESSIBILITY
    GTEST_SKIP() << "built without Qt's platform accessibility headers";
#else
    QTreeWidgetItem *alarm = tree->InsertGroup(QStringLiteral("Alarm"), 1);
    QTreeWidgetItem *connect = tree->InsertCheckBox(QStringLiteral("Connect"), alarm, true);
    tree->InsertCheckBox(QStringLiteral("Notify"), alarm, true);
    QTreeWidgetItem *language = tree->InsertGroup(QStringLiteral("Language"), 1);
    QTreeWidgetItem *korean = tree->InsertRadioButton(QStringLiteral("Korean"), language, true);
    tree->InsertRadioButton(QStringLiteral("English"), language, false);
    tree->expandAll();
    show();
    {
        AccessibleEventRecorder recorder;
        ASSERT_TRUE(QAccessible::isActive());
        QAccessibleInterface *treeFace = QAccessible::queryAccessibleInterface(tree);
        ASSERT_NE(treeFace, nullptr);
        QAccessibleInterface *languageFace = treeFace->child(1);
        ASSERT_NE(languageFace, nullptr);

        // A top-level row, by its index among the tree's children.
        tree->setCurrentItem(language);
        AccessibleEventRecorder::Heard focus = recorder.last(QAccessible::Focus);
        EXPECT_EQ(nameOf(focus.target), QStringLiteral("Language"));
        EXPECT_EQ(focus.target, languageFace);
        EXPECT_EQ(focus.object, tree);
        EXPECT_EQ(focus.child, treeFace->indexOfChild(languageFace));
        EXPECT_EQ(nameOf(recorder.last(QAccessible::SelectionAdd).target),
                  QStringLiteral("Language"));

        // A row inside a group, and the row the selection left.
        recorder.events.clear();
        tree->setCurrentItem(korean);
        EXPECT_EQ(recorder.last(QAccessible::Focus).target, languageFace->child(0));
        EXPECT_EQ(nameOf(recorder.last(QAccessible::SelectionAdd).target),
                  QStringLiteral("Korean"));
        EXPECT_EQ(recorder.last(QAccessible::SelectionRemove).target, languageFace);

        // The keys move the focus the same way.
        recorder.events.clear();
        QTest::keyClick(tree, Qt::Key_Down);
        EXPECT_EQ(nameOf(recorder.last(QAccessible::Focus).target), QStringLiteral("English"));
        QTest::keyClick(tree, Qt::Key_Home);
        EXPECT_EQ(nameOf(recorder.last(QAccessible::Focus).target), QStringLiteral("Alarm"));

        tree->setCurrentItem(connect);
        recorder.events.clear();
        delete connect;
        for (const AccessibleEventRecorder::Heard &heard : recorder.events) {
            if (QAccessibleInterface *face = QAccessible::accessibleInterface(heard.id)) {
                EXPECT_NE(face->text(QAccessible::Name), QStringLiteral("Connect"));
            }
        }
        EXPECT_EQ(nameOf(recorder.last(QAccessible::Focus).target), QStringLiteral("Notify"));
    }
#endif
}

} // namespace
