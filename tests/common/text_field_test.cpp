#include "common/text_field.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace setupmgr;

// A host may fill a field to its last byte without a terminating zero: reading stops at the
// field's end, not at whatever follows in memory.
TEST(TextField, ReadsNoFurtherThanTheField)
{
    struct
    {
        char name[51];
        char next[8];
    } record;
    std::memset(record.name, 'n', sizeof record.name);
    std::memcpy(record.next, "SPILLED", 8);
    EXPECT_EQ(fieldString(record.name), QString(51, QLatin1Char('n')));
    EXPECT_TRUE(fieldEquals(record.name, QByteArray(51, 'n').constData()));
    EXPECT_FALSE(fieldEquals(record.name, QByteArray(52, 'n').constData()));
}

// Stored text is cut at a character boundary and never ends in a blank that the cut exposed.
TEST(TextField, StoresWithinTheFieldAtCharacterBoundaries)
{
    const struct
    {
        QString text;
        QByteArray stored;
    } cases[] = {
        {QStringLiteral("abcd"), "abcd"},
        {QStringLiteral("abc\u00e9"), "abc\xc3\xa9"}, // é ends on the fifth byte
        {QStringLiteral("abcd\u00e9"), "abcd"},       // é would end past it
        {QStringLiteral("abc \u00e9"), "abc"},        // the cut leaves "abc ": the blank goes
        {QStringLiteral("ab  "), "ab  "},             // blanks the user typed, uncut, stay
    };
    for (const auto &[text, stored] : cases) {
        char field[6];
        std::memset(field, 'x', sizeof field);
        setField(field, text);
        EXPECT_EQ(fieldBytes(field), stored) << text.toStdString();
        EXPECT_EQ(field[sizeof field - 1], '\0');
    }
}

} // namespace
