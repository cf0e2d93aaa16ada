// The General page's rules, kept apart from the page: the polling time held in the host's bounds,
// the language rows' index and code, the DirectX rows' index and version, and how the
// auto-connect flag is stored. Plain functions, so they are tested without a window.
#pragma once

#include <ostrel/data_provider.h>

#include <QString>

#include <cstdint>

namespace setupmgr {

// The polling time an editor's text stores: its leading number (0 without digits), held in the
// record's bounds in the record's order (heldInBounds).
std::int16_t pollingTimeOf(const QString &typed, const OptionRecord &record);

// The language row of a code: its position among the installation's languages; a code the
// installation does not ship selects the default language's row.
int languageIndex(const QString &code);
// The code of a language row; a position outside the rows gives the default language.
QString languageCode(int index);

inline constexpr int kDefaultDirectXVersion = 9;
// The DirectX rows: 0 for the default version 9, 1 ("DirectX 7") for any other version.
int directXIndex(int version);
// The version a DirectX row writes: "9" for row 0, "7" for any other.
QString directXVersion(int index);

// A host may keep any non-zero value for "on": the flag is written only when the box differs.
void storeAutoConnect(OptionRecord &record, bool autoConnect);

} // namespace setupmgr
