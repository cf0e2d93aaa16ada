// Checks the embedded installation (install/): every language file parses in its shape, every
// language has the English keys with the English placeholders, and the files named in
// Config/Path.ini are found. Whether the dialogs find their texts is checked by the dialog tests,
// which look for captions that read "undefined" or "Error".

#include "common/folders.h"
#include "support/temp_install.h"
#include <ostrel/languages.h>
#include <ostrelini/ini_file.h>

#include <QStringDecoder>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kInstallDir = OSTREL_INSTALL_DIR;
const std::vector<std::string> kLanguages = [] {
    std::vector<std::string> codes;
    for (const ostrel::InstallationLanguage &each : ostrel::kInstallationLanguages)
        codes.emplace_back(each.code);
    return codes;
}();
const std::string kReference = ostrel::kDefaultLanguage;

const std::vector<std::string> kDocumentedPathKeys
    = {"ini_ostrel", "xml_string", "xml_account", "xml_authority", "xml_serverinfo", "xml_option"};

// --- The installed language files -------------------------------------------------------------

using Key = std::tuple<std::string, std::string, std::string>; // file, category, id

struct Language
{
    std::map<Key, std::string> texts;  // first item of each key, as the module finds it
    std::set<std::string> files;       // file names present
    std::vector<std::string> problems; // parse and shape faults
};

std::string describe(const std::string &code, const Key &key)
{
    return "language '" + code + "', file '" + std::get<0>(key) + "', category '" + std::get<1>(key)
        + "', id '" + std::get<2>(key) + "'";
}

// Shared file: one element per category, named by it. Dialog files: <category id=...>. Every
// category holds <item id=...> elements of plain, non-blank text, each id once.
void readCategories(const std::string &code, const std::string &file, bool shared,
                    const pugi::xml_node &root, Language *language)
{
    const auto problem = [&](const std::string &where, const std::string &what) {
        language->problems.push_back(where + ": " + what);
    };
    for (pugi::xml_node category : root.children()) {
        if (category.type() != pugi::node_element)
            continue;
        const std::string name = shared ? category.name() : category.attribute("id").value();
        if (!shared && (std::string(category.name()) != "category" || name.empty())) {
            problem(describe(code, {file, "", ""}), "a <" + std::string(category.name()) + ">");
            continue;
        }
        for (pugi::xml_node item : category.children()) {
            if (item.type() != pugi::node_element)
                continue;
            const Key key {file, name, item.attribute("id").value()};
            const std::string text = item.child_value();
            if (std::string(item.name()) != "item" || std::get<2>(key).empty())
                problem(describe(code, key), "a <" + std::string(item.name()) + "> without an id");
            else if (item.find_child(
                         [](pugi::xml_node n) { return n.type() == pugi::node_element; }))
                problem(describe(code, key), "the item holds elements, not plain text");
            else if (text.find_first_not_of(" \t\r\n") == std::string::npos)
                problem(describe(code, key), "empty text");
            else if (!language->texts.emplace(key, text).second)
                problem(describe(code, key), "duplicate id (only the first item is found)");
        }
    }
}

Language readLanguage(const std::string &code, const std::string &sharedName)
{
    Language language;
    const fs::path folder = kInstallDir / "Language" / code;
    std::error_code missing;
    for (const fs::directory_entry &entry : fs::directory_iterator(folder, missing)) {
        const std::string file = entry.path().filename().string();
        const std::string where = describe(code, {file, "", ""});
        const bool shared = file == sharedName;
        if (!shared && !(file.rfind("dlg_", 0) == 0 && entry.path().extension() == ".xml")) {
            language.problems.push_back(where + ": neither the shared file nor a dlg_*.xml");
            continue;
        }
        language.files.insert(file);
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string content {std::istreambuf_iterator<char>(in), {}};
        QStringDecoder utf8(QStringDecoder::Utf8);
        (void)utf8(QByteArrayView(content.data(), qsizetype(content.size())));
        if (utf8.hasError())
            language.problems.push_back(where + ": not valid UTF-8");
        pugi::xml_document document;
        const pugi::xml_parse_result parsed = document.load_buffer(content.data(), content.size());
        const std::string root = document.document_element().name();
        if (!parsed || root != "string")
            language.problems.push_back(
                where + ": " + (parsed ? "<" + root + ">, not <string>" : parsed.description()));
        else
            readCategories(code, file, shared, document.document_element(), &language);
    }
    if (missing)
        language.problems.push_back(folder.string() + ": " + missing.message());
    return language;
}

std::vector<std::string> placeholders(const std::string &text)
{
    static const std::regex pattern(
        R"re(%(?:%|[1-9][0-9]?|[-+ #0]*[0-9]*(?:\.[0-9]+)?(?:hh|h|ll|l)?[diouxXeEfgGcsp]))re");
    std::vector<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
        found.push_back(it->str());
    return found;
}

// Every language as read once for all tests, and the shared file's name.
const std::string &sharedName()
{
    static const std::string name
        = ostrelini::IniFile::readString(
              QString::fromStdString((kInstallDir / "Config" / "Path.ini").string()), u"PATH",
              u"xml_string", QString(), Common::kPathBufferLength)
              .toStdString();
    return name;
}

const Language &languageOf(const std::string &code)
{
    static const std::map<std::string, Language> languages = [] {
        std::map<std::string, Language> read;
        for (const std::string &each : kLanguages)
            read[each] = readLanguage(each, sharedName());
        return read;
    }();
    return languages.at(code);
}

// --- The language files ------------------------------------------------------------------------

// That the shared file is there is for the key tests below: English has the commit messages in
// it, every other language has English's files.
TEST(InstalledLanguages, EveryFileParsesInItsShape)
{
    for (const std::string &code : kLanguages) {
        for (const std::string &problem : languageOf(code).problems)
            ADD_FAILURE() << problem;
    }
}

TEST(InstalledLanguages, MatchEnglishKeyForKey)
{
    const Language &english = languageOf(kReference);
    // What `from` has and `to` lacks, reported as `what`.
    const auto compare
        = [](const std::string &code, const Language &from, const Language &to, const char *what) {
              for (const std::string &file : from.files)
                  EXPECT_TRUE(to.files.count(file))
                      << "language '" << code << "', file '" << file << "': " << what;
              for (const auto &[key, text] : from.texts)
                  if (!to.texts.count(key))
                      ADD_FAILURE() << describe(code, key) << ": " << what;
          };
    for (const std::string &code : kLanguages) {
        if (code != kReference) {
            compare(code, english, languageOf(code), "missing (English has it)");
            compare(code, languageOf(code), english, "not in English");
        }
    }
}

// The messages of a commit that did not go through name the file they concern; with the key
// missing the user would read the built-in English.
TEST(InstalledLanguages, CommitMessagesExistAndNameTheFile)
{
    const Language &english = languageOf(kReference);
    for (const char *id : {"saveFailed", "reloadFailed"}) {
        const auto found = english.texts.find(Key {sharedName(), "message", id});
        ASSERT_NE(found, english.texts.end())
            << describe(kReference, {sharedName(), "message", id});
        EXPECT_EQ(placeholders(found->second), std::vector<std::string> {"%s"}) << id;
    }
    EXPECT_TRUE(english.texts.count(Key {sharedName(), "message", "recordNotStored"}));
}

// Callers fill the placeholders by position, so a translation must keep English's, in order.
TEST(InstalledLanguages, KeepEnglishPlaceholders)
{
    const Language &english = languageOf(kReference);
    for (const std::string &code : kLanguages) {
        for (const auto &[key, text] : languageOf(code).texts) {
            const auto reference = english.texts.find(key);
            if (reference == english.texts.end())
                continue;
            EXPECT_EQ(placeholders(text), placeholders(reference->second)) << describe(code, key);
        }
    }
}

// --- Path.ini, resolved the way the module resolves it ----------------------------------------

// An unset key would resolve to the installation folder itself, no file.
TEST(InstalledPaths, EveryKeyResolvesToAFile)
{
    TempInstall install;
    install.copyFrom(QString::fromStdString(kInstallDir.string()));
    for (const std::string &key : kDocumentedPathKeys) {
        if (key == "xml_string")
            continue; // below, per language
        const QString path = Common::getPathEntry(key.c_str(), true);
        EXPECT_TRUE(fs::is_regular_file(path.toStdString()))
            << key << " resolves to " << path.toStdString() << ", which does not exist";
    }
    const std::string configured = Common::getLanguage().toStdString();
    EXPECT_NE(std::find(kLanguages.begin(), kLanguages.end(), configured), kLanguages.end())
        << "the configured language '" << configured << "' is not one of the seven codes";
    for (const std::string &code : kLanguages)
        EXPECT_FALSE(Common::getLanguageFile("xml_string", QString::fromStdString(code)).isEmpty())
            << "language '" << code << "': xml_string does not resolve to an existing file";
}

} // namespace
