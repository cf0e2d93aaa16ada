#include "controls/beep.h"
#include "controls/edit_filter.h"
#include "controls/filter_edit.h"
#include "controls/utf8_limit_validator.h"
#include "support/dialog_test_util.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using setupmgr::EditFilter;

const QString kIdSet = QStringLiteral("~!@#$%^&*+|`=\\:;\"'<>?/,");

// Typing, pasting and overwriting are driven through the edit below and the user dialog's id
// edit; what is left is what no widget test reaches: the cut comes before the filter, and a
// read-only edit takes nothing.
TEST(EditFilter, CutsBeforeFilteringAndReadOnlyDropsEverything)
{
    const EditFilter filter(5, QStringLiteral(",:"));
    EXPECT_EQ(filter.validText(QStringLiteral("a,b:cdefg")), QStringLiteral("abc"));
    EXPECT_EQ(filter.typed(u'x', 0, 0, true), EditFilter::Typed::Drop);
}

TEST(FilterEdit, PastedAndProgramTextIsFilteredSilently)
{
    CFilterEdit edit(0, kIdSet);
    edit.setText(QStringLiteral("hello"));
    edit.setSelection(1, 3);
    QGuiApplication::clipboard()->setText(QStringLiteral("a,b:c"));
    const int beeps = setupmgr::beepCount();
    QTest::keySequence(&edit, QKeySequence::Paste);
    EXPECT_EQ(edit.text(), QStringLiteral("habco"));
    EXPECT_EQ(edit.selectionStart(), 1);
    EXPECT_EQ(edit.selectedText().size(), 3);
    EXPECT_EQ(setupmgr::beepCount(), beeps);
    // The base class's paste (as from its context menu) ends valid as well.
    edit.clear();
    static_cast<QLineEdit &>(edit).paste();
    EXPECT_EQ(edit.text(), QStringLiteral("abc"));

    CFilterEdit initial(0, QStringLiteral("%'*\"+?><:\\"));
    initial.setText(QStringLiteral("x*y,"));
    initial.SetForbiddenChars(kIdSet);
    EXPECT_EQ(initial.text(), QStringLiteral("xy"));
}

// A stored value the user opens is shown as stored; only what the user brings in is filtered,
// so an address "fe80::1" survives an edit of its last digit.
TEST(FilterEdit, ProgramTextStaysAndOnlyTheUsersInputIsFiltered)
{
    CFilterEdit edit(0, kIdSet);
    edit.setText(QStringLiteral("fe80::1"));
    EXPECT_EQ(edit.text(), QStringLiteral("fe80::1"));
    edit.setCursorPosition(4);
    QTest::keyClicks(&edit, QStringLiteral("a:b"));
    EXPECT_EQ(edit.text(), QStringLiteral("fe80ab::1"));
    edit.setCursorPosition(edit.text().size());
    QGuiApplication::clipboard()->setText(QStringLiteral("(x/y)"));
    QTest::keySequence(&edit, QKeySequence::Paste);
    EXPECT_EQ(edit.text(), QStringLiteral("fe80ab::1(xy)"));
    // An input method or a drop changes the text without a key press or a paste.
    edit.setCursorPosition(2);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("?z"));
    QCoreApplication::sendEvent(&edit, &commit);
    EXPECT_EQ(edit.text(), QStringLiteral("fez80ab::1(xy)"));
    EXPECT_EQ(edit.cursorPosition(), 3);
}

TEST(FilterEdit, FullTextOverwritesAtTheCaret)
{
    CFilterEdit edit(5, QString());
    edit.setText(QStringLiteral("abcdefg"));
    EXPECT_EQ(edit.text(), QStringLiteral("abcde"));
    edit.setCursorPosition(2);
    QTest::keyClick(&edit, Qt::Key_X);
    EXPECT_EQ(edit.text(), QStringLiteral("abxde"));
    edit.undo();
    EXPECT_EQ(edit.text(), QStringLiteral("abcde"));
    edit.setCursorPosition(5);
    QTest::keyClick(&edit, Qt::Key_Y);
    EXPECT_EQ(edit.text(), QStringLiteral("abcde"));
}

// An edit for a 51-byte field shows no more than the field stores, however the text comes in.
TEST(Utf8Limit, EditsHoldWhatTheirFieldHolds)
{
    QLineEdit edit;
    setupmgr::limitToField(&edit, 51);
    // A paste is cut at its own end: the text after the caret stays. (Typed text of two and
    // three bytes a character is held by the user dialog's test.)
    edit.setText(QString(45, QLatin1Char('a')) + QStringLiteral("bc"));
    edit.setCursorPosition(45);
    QGuiApplication::clipboard()->setText(QStringLiteral("XYZWV"));
    edit.paste();
    EXPECT_EQ(edit.text(), QString(45, QLatin1Char('a')) + QStringLiteral("XYZbc"));
    // A character outside the basic plane is never split.
    edit.setText(QString(48, QLatin1Char('a')));
    edit.end(false);
    edit.insert(QString::fromUcs4(U"\U0001F600"));
    EXPECT_EQ(edit.text(), QString(48, QLatin1Char('a')));
    CFilterEdit filtered(0, kIdSet);
    setupmgr::limitToField(&filtered, 6);
    typeText(&filtered, QStringLiteral("ab,cdefgh"));
    EXPECT_EQ(filtered.text(), QStringLiteral("abcde"));
}

} // namespace
