// The languages an installation ships, by the code a host writes to the main ini file's
// [LANGUAGE] USE key. Header only: nothing here is part of the binary interface.
#pragma once

namespace ostrel {

struct InstallationLanguage
{
    const char *code;       // the folder under Language/ and the value of USE
    const char *textId;     // its name in the module's option page, an "optionGeneral" text id
    const char *nativeName; // its name in its own language, UTF-8
};

// In the order of the option page's rows.
inline constexpr InstallationLanguage kInstallationLanguages[] = {
    {"ko", "languageKorean", "한국어"},
    {"en", "languageEnglish", "English"},
    {"ch_si", "languageChineseSimplified", "简体中文"},
    {"ch_tr", "languageChineseTraditional", "繁體中文"},
    {"jpn", "languageJapanese", "日本語"},
    {"sp", "languageSpanish", "Español"},
    {"de", "languageGerman", "Deutsch"},
};

// What an installation falls back to for a code it does not ship.
inline constexpr const char *kDefaultLanguage = "en";

} // namespace ostrel
