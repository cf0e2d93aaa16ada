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
#include <sstream>
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

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string describe(const std::string &language, const std::string &file,
                     const std::string &category, const std::string &id)
{
    return "language '" + language + "', file '" + file + "', category '" + category + "', id '"
        + id + "'";
}

void readItems(const std::string &code, const std::string &file, const std::string &category,
               const pugi::xml_node &parent, Language *language)
{
    for (pugi::xml_node item : parent.children()) {
        if (item.type() != pugi::node_element)
            continue;
        const std::string id = item.attribute("id").value();
        const std::string where = describe(code, file, category, id);
        if (std::string(item.name()) != "item" || id.empty()) {
            language->problems.push_back("language '" + code + "', file '" + file + "', category '"
                                         + category + "': element <" + item.name()
                                         + "> is not an <item> with an id");
            continue;
        }
        if (item.find_child([](const pugi::xml_node &n) { return n.type() == pugi::node_element; }))
            language->problems.push_back(where + ": the item holds elements, not plain text");
        const std::string text = item.child_value();
        if (text.find_first_not_of(" \t\r\n") == std::string::npos)
            language->problems.push_back(where + ": empty text");
        if (!language->texts.emplace(Key {file, category, id}, text).second)
            language->problems.push_back(where + ": duplicate id (only the first item is found)");
    }
}

Language readLanguage(const std::string &code, const std::string &sharedName)
{
    Language language;
    const fs::path folder = kInstallDir / "Language" / code;
    if (!fs::is_directory(folder)) {
        language.problems.push_back("language '" + code + "': folder " + folder.string()
                                    + " is missing");
        return language;
    }
    for (const fs::directory_entry &entry : fs::directory_iterator(folder)) {
        const std::string file = entry.path().filename().string();
        const auto problem = [&](const std::string &what) {
            language.problems.push_back("language '" + code + "', file '" + file + "': " + what);
        };
        const bool shared = file == sharedName;
        if (!shared && !(file.rfind("dlg_", 0) == 0 && entry.path().extension() == ".xml")) {
            problem("neither the shared string file nor a dlg_*.xml");
            continue;
        }
        language.files.insert(file);
        const std::string content = readFile(entry.path());
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8(QByteArrayView(content.data(), qsizetype(content.size())));
        if (utf8.hasError())
            problem("not valid UTF-8");
        pugi::xml_document document;
        const pugi::xml_parse_result parsed = document.load_buffer(content.data(), content.size());
        if (!parsed) {
            problem(std::string("does not parse: ") + parsed.description() + " at byte "
                    + std::to_string(parsed.offset));
            continue;
        }
        const pugi::xml_node root = document.document_element();
        if (std::string(root.name()) != "string") {
            problem(std::string("document element is <") + root.name() + ">, not <string>");
            continue;
        }
        // Shared file: one element per category, named by it. Dialog files: <category id=...>.
        for (pugi::xml_node category : root.children()) {
            if (category.type() != pugi::node_element)
                continue;
            const std::string name = shared ? category.name() : category.attribute("id").value();
            if (!shared && (std::string(category.name()) != "category" || name.empty())) {
                problem(std::string("element <") + category.name()
                        + "> is not a <category> with an id");
                continue;
            }
            readItems(code, file, name, category, &language);
        }
    }
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

TEST(InstalledLanguages, EveryFileParsesInItsShape)
{
    EXPECT_FALSE(sharedName().empty()) << "Config/Path.ini names no xml_string";
    for (const std::string &code : kLanguages) {
        const Language &language = languageOf(code);
        for (const std::string &problem : language.problems)
            ADD_FAILURE() << problem;
        EXPECT_TRUE(language.files.count(sharedName()))
            << "language '" << code << "', file '" << sharedName() << "': missing";
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
                      ADD_FAILURE()
                          << describe(code, std::get<0>(key), std::get<1>(key), std::get<2>(key))
                          << ": " << what;
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
        ASSERT_NE(found, english.texts.end()) << describe(kReference, sharedName(), "message", id);
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
            EXPECT_EQ(placeholders(text), placeholders(reference->second))
                << describe(code, std::get<0>(key), std::get<1>(key), std::get<2>(key));
        }
    }
}

// --- Path.ini, resolved the way the module resolves it ----------------------------------------

TEST(InstalledPaths, EveryKeyIsSetAndTheLanguageFilesResolve)
{
    TempInstall install;
    install.copyFrom(QString::fromStdString(kInstallDir.string()));
    for (const std::string &key : kDocumentedPathKeys)
        EXPECT_FALSE(Common::getPathEntry(key.c_str(), false).isEmpty())
            << "Config/Path.ini [PATH] has no value for '" << key << "'";

    const QString mainIni = Common::getPathEntry("ini_ostrel", true);
    EXPECT_TRUE(fs::is_regular_file(mainIni.toStdString()))
        << "ini_ostrel resolves to " << mainIni.toStdString() << ", which does not exist";
    const std::string configured = Common::getLanguage().toStdString();
    EXPECT_NE(std::find(kLanguages.begin(), kLanguages.end(), configured), kLanguages.end())
        << "the configured language '" << configured << "' is not one of the seven codes";

    for (const std::string &code : kLanguages)
        EXPECT_FALSE(Common::getLanguageFile("xml_string", QString::fromStdString(code)).isEmpty())
            << "language '" << code << "': xml_string does not resolve to an existing file";

    for (const std::string &key : kDocumentedPathKeys) {
        if (key.rfind("xml_", 0) != 0 || key == "xml_string")
            continue;
        const QString path = Common::getPathEntry(key.c_str(), true);
        EXPECT_TRUE(fs::is_regular_file(path.toStdString()))
            << key << " resolves to " << path.toStdString() << ", which does not exist";
    }
}

} // namespace
