// Window styles of the option tree's in-place editors. Each editor class answers its style as one
// 32-bit word, the way its users have always spelt it; the tree and the editors turn the bits
// into Qt properties (password echo, digits only, a multi-line host, a sorted or editable list,
// a time picker).
#pragma once

#include <cstdint>

namespace setupmgr::editorstyle {

using Style = std::uint32_t;

// Any window.
constexpr Style kChild = 0x40000000;
constexpr Style kVisible = 0x10000000;
constexpr Style kVScroll = 0x00200000;

// Edits.
constexpr Style kEditMultiLine = 0x0004;
constexpr Style kEditPassword = 0x0020;
constexpr Style kEditAutoHScroll = 0x0080;
constexpr Style kEditNumber = 0x2000;

// Drop-down lists: the low two bits say which kind.
constexpr Style kComboKindMask = 0x0003;
constexpr Style kComboSimple = 0x0001;
constexpr Style kComboDropDown = 0x0002;
constexpr Style kComboDropDownList = 0x0003;
constexpr Style kComboSort = 0x0100;

// The spin control.
constexpr Style kSpinSetBuddyInt = 0x0002;
constexpr Style kSpinAlignRight = 0x0004;
constexpr Style kSpinArrowKeys = 0x0020;
constexpr Style kSpinNoThousands = 0x0080;

// Date and time pickers: the time format includes the up-down bit, so no calendar drops down.
constexpr Style kDateUpDown = 0x0001;
constexpr Style kDateTimeFormat = 0x0009;

// The least height of an editor beside a row's label.
constexpr int kMinEditorHeight = 20;

inline bool has(Style style, Style bits)
{
    return (style & bits) == bits;
}

} // namespace setupmgr::editorstyle
