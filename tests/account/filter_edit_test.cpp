#include "account/account_rules.h"
#include "controls/beep.h"
#include "controls/filter_edit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kIdSet = QString::fromLatin1(setupmgr::kForbiddenIdChars);

TEST(FilterEdit, TypedForbiddenCharacterOnlyBeeps)
{
    CFilterEdit edit(0, kIdSet);
    const int beeps = setupmgr::beepCount();
    QTest::keyClicks(&edit, QStringLiteral("a,b x\\y(z)-_."));
    EXPECT_EQ(edit.text(), QStringLiteral("ab xy(z)-_."));
    EXPECT_EQ(setupmgr::beepCount(), beeps + 2);
    QTest::keyClick(&edit, Qt::Key_Backspace); // editing keys still work
    EXPECT_EQ(edit.text(), QStringLiteral("ab xy(z)-_"));
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

    CFilterEdit initial(0, QString::fromLatin1(setupmgr::kInitialForbiddenChars));
    static_cast<QLineEdit &>(initial).setText(QStringLiteral("x*y,"));
    EXPECT_EQ(initial.text(), QStringLiteral("xy,"));
    initial.SetForbiddenChars(kIdSet);
    EXPECT_EQ(initial.text(), QStringLiteral("xy"));
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

} // namespace
