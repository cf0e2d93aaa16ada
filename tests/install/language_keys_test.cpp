// Checks the embedded installation (install/) against what the module reads from it: every
// language text the module looks up exists in every language, the language files agree with the
// English ones, and the files named in Config/Path.ini are found.
//
// Where the looked-up keys come from:
//  1. The module's sources under setupmgr/, scanned for lookups with literal keys:
//       Common::getString("id", "category")    shared string file
//       Common::getString("id")                shared string file, category "common"
//       getString("id", "category")            the same, unqualified, inside namespace Common
//       getYesNo(...)                          shared string file, "common" items "yes" and "no"
//       table.getString("category", "id")      dialog string file of the CStringTable `table`
//       table->getString("category", "id")
//  2. The fixed list kDocumentedLookups below: keys that are computed at run time, and the keys of
//     the dialogs that are not written yet.
//
// Convention for dialog authors, so that the scan finds a dialog's file: construct each
// CStringTable with its file name as a literal, in the header or source file of the same base
// name as the code that uses it, either as a member
//       CStringTable m_strings{QStringLiteral("dlg_account_user.xml")};
// or in a constructor's initialiser list
//       , m_strings(QStringLiteral("dlg_account_user.xml"))
// and look texts up with literal keys: m_strings.getString("label", "title_new"). A lookup through
// a table whose file the scan cannot find fails this test; keys built at run time belong in
// kDocumentedLookups.

#include "common/folders.h"
#include <ostrelini/ini_file.h>

#include <QStringDecoder>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
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

const fs::path kSourceDir = OSTREL_SETUPMGR_DIR;
const fs::path kInstallDir = OSTREL_INSTALL_DIR;
const std::vector<std::string> kLanguages = {"ko", "en", "ch_si", "ch_tr", "jpn", "sp", "de"};
const std::string kReference = "en";
constexpr const char *kShared = ""; // Lookup::file of the shared string file

struct Lookup
{
    std::string file; // kShared, or the dialog string file
    std::string category;
    std::string id;
    std::string origin;
};

struct SourceFile
{
    std::string path; // relative to setupmgr/
    std::string text;
};

struct Scan
{
    std::vector<Lookup> lookups;
    std::vector<std::string> pathKeys; // Path.ini keys read through getPathEntry/getLanguageFile
    std::vector<std::string> problems;
};

// Lookups whose keys the scan cannot see: run-time keys and dialogs still to be written.
const std::vector<Lookup> kDocumentedLookups = [] {
    std::vector<Lookup> list;
    const auto add
        = [&list](const char *file, const char *category, std::initializer_list<const char *> ids) {
              for (const char *id : ids)
                  list.push_back({file, category, id, "documented lookups"});
          };
    // Shared string file.
    add(kShared, "common",
        {"ok", "cancel", "yes", "no", "new", "modify", "delete", "apply", "info", "desc",
         "member"});
    add(kShared, "message",
        {"deleteServer", "disconnectAllDvr", "sameServerNameExist", "sameServerIPExist",
         "newServerCreateFail"});
    add(kShared, "chooseMember", {"accountList", "selectedAccountList"});
    add(kShared, "serverInfo",
        {"serverInfo", "name", "address", "port", "id", "pass", "additionalInfo", "ddnsInfo",
         "useDdns", "test", "value"});
    add(kShared, "serverSetup", {"product"});
    add(kShared, "option", {"emptyPageText", "General"});
    add(kShared, "optionGeneral",
        {"alarmGroup", "alarmServiceAutoConnect", "alarmServiceConnectPollingTime", "languageGroup",
         "languageKorean", "languageEnglish", "languageChineseSimplified",
         "languageChineseTraditional", "languageJapanese", "languageSpanish", "languageGerman"});
    add(kShared, "setupManager", {"providerMissing"});
    add(kShared, "providerKind",
        {"account", "authority", "recorderList", "remoteSetup", "option", "displayTemplate"});
    // Dialog string files.
    add("dlg_account_manager.xml", "label",
        {"title", "info", "info_user", "info_group", "new", "modify", "delete", "id", "name",
         "desc", "ok", "cancel"});
    add("dlg_account_manager.xml", "message", {"confirm_delete_user", "confirm_delete_group"});
    add("dlg_account_user.xml", "label",
        {"title_new", "title_modify", "id", "name", "desc", "pass", "confirm", "ok", "cancel"});
    add("dlg_account_user.xml", "message",
        {"required_user_id", "exist_user_id", "exist_group_id", "error_password_confirm"});
    add("dlg_account_group.xml", "label",
        {"title_new", "title_modify", "id", "desc", "member", "ok", "cancel"});
    add("dlg_account_group.xml", "message",
        {"required_group_id", "exist_group_id", "exist_user_id"});
    add("dlg_account_tree.xml", "label", {"account", "user", "group"});
    return list;
}();

const std::vector<std::string> kDocumentedPathKeys
    = {"ini_ostrel", "xml_string", "xml_account", "xml_authority", "xml_serverinfo", "xml_option"};

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Blanks out comments (keeping line breaks) so that commented-out code and examples in comments
// are not taken for lookups; string and character literals are left alone.
std::string stripComments(const std::string &text)
{
    std::string out = text;
    for (size_t i = 0; i < out.size(); ++i) {
        const char c = out[i];
        if (c == '"' || c == '\'') {
            for (++i; i < out.size() && out[i] != c; ++i)
                if (out[i] == '\\')
                    ++i;
        } else if (c == '/' && i + 1 < out.size() && out[i + 1] == '/') {
            for (; i < out.size() && out[i] != '\n'; ++i)
                out[i] = ' ';
        } else if (c == '/' && i + 1 < out.size() && out[i + 1] == '*') {
            const size_t end = out.find("*/", i + 2);
            const size_t stop = end == std::string::npos ? out.size() : end + 2;
            for (; i < stop; ++i)
                if (out[i] != '\n')
                    out[i] = ' ';
            --i;
        }
    }
    return out;
}

bool isIdentChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

size_t skipSpaceBack(const std::string &text, size_t pos)
{
    while (pos > 0 && std::isspace(static_cast<unsigned char>(text[pos - 1])))
        --pos;
    return pos;
}

std::string identifierBefore(const std::string &text, size_t end)
{
    size_t begin = end;
    while (begin > 0 && isIdentChar(text[begin - 1]))
        --begin;
    return text.substr(begin, end - begin);
}

// The call's arguments, each trimmed, or false when no argument list follows.
bool callArguments(const std::string &text, size_t pos, std::vector<std::string> *args)
{
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos])))
        ++pos;
    if (pos >= text.size() || text[pos] != '(')
        return false;
    int depth = 0;
    std::string current;
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"' || c == '\'') {
            const size_t start = pos;
            for (++pos; pos < text.size() && text[pos] != c; ++pos)
                if (text[pos] == '\\')
                    ++pos;
            current += text.substr(start, pos - start + 1);
            continue;
        }
        if (depth == 0 && (c == ',' || c == ')')) {
            const size_t first = current.find_first_not_of(" \t\r\n");
            const size_t last = current.find_last_not_of(" \t\r\n");
            if (first != std::string::npos)
                args->push_back(current.substr(first, last - first + 1));
            current.clear();
            if (c == ')')
                return true;
            continue;
        }
        if (c == '(' || c == '{' || c == '[')
            ++depth;
        else if (c == ')' || c == '}' || c == ']')
            --depth;
        current += c;
    }
    return false;
}

bool literal(const std::string &arg, std::string *value)
{
    static const std::regex pattern(R"re(^"([^"\\]*)"$)re");
    std::smatch match;
    if (!std::regex_match(arg, match, pattern))
        return false;
    *value = match[1];
    return true;
}

std::string stemOf(const std::string &path)
{
    return fs::path(path).replace_extension().generic_string();
}

Scan scanSources(const std::vector<SourceFile> &sources)
{
    static const std::regex tablePattern(
        R"re(\b([A-Za-z_]\w*)\s*[({]\s*(?:[A-Za-z_][\w:]*\s*\(\s*)?"(dlg_\w+\.xml)")re");
    static const std::regex pathKeyPattern(
        R"re(\b(?:getPathEntry|getLanguageFile)\s*\(\s*"(\w+)")re");
    static const std::regex yesNoPattern(R"re(\bgetYesNo\s*\()re");

    Scan scan;
    std::vector<std::string> texts;
    // Dialog files of the tables, by the base name of the files that construct them.
    std::map<std::string, std::map<std::string, std::string>> tables;
    for (const SourceFile &source : sources) {
        texts.push_back(stripComments(source.text));
        const std::string &text = texts.back();
        for (std::sregex_iterator it(text.begin(), text.end(), tablePattern), end; it != end; ++it)
            tables[stemOf(source.path)][(*it)[1]] = (*it)[2];
    }

    for (size_t f = 0; f < sources.size(); ++f) {
        const std::string &path = sources[f].path;
        const std::string &text = texts[f];
        const auto origin = [&](size_t pos) {
            return path + ":"
                + std::to_string(1 + std::count(text.begin(), text.begin() + pos, '\n'));
        };
        for (std::sregex_iterator it(text.begin(), text.end(), pathKeyPattern), end; it != end;
             ++it)
            scan.pathKeys.push_back((*it)[1]);
        for (std::sregex_iterator it(text.begin(), text.end(), yesNoPattern), end; it != end;
             ++it) {
            const std::string where = origin(it->position());
            scan.lookups.push_back({kShared, "common", "yes", where});
            scan.lookups.push_back({kShared, "common", "no", where});
        }

        const std::string name = "getString";
        for (size_t pos = text.find(name); pos != std::string::npos;
             pos = text.find(name, pos + 1)) {
            const size_t after = pos + name.size();
            if ((pos > 0 && isIdentChar(text[pos - 1]))
                || (after < text.size() && isIdentChar(text[after])))
                continue;
            std::vector<std::string> args;
            if (!callArguments(text, after, &args) || args.empty())
                continue;
            std::string first, second;
            const bool firstLiteral = literal(args[0], &first);
            const bool secondLiteral = args.size() > 1 && literal(args[1], &second);
            if (!firstLiteral && !secondLiteral)
                continue; // a declaration, or keys from variables: see kDocumentedLookups

            const size_t before = skipSpaceBack(text, pos);
            const bool member = (before >= 1 && text[before - 1] == '.')
                || (before >= 2 && text.compare(before - 2, 2, "->") == 0);
            const bool qualified = before >= 2 && text.compare(before - 2, 2, "::") == 0;
            if (qualified && identifierBefore(text, skipSpaceBack(text, before - 2)) != "Common")
                continue;
            if (!member) {
                if (firstLiteral && (args.size() == 1 || secondLiteral))
                    scan.lookups.push_back(
                        {kShared, args.size() == 1 ? "common" : second, first, origin(pos)});
                continue;
            }
            if (!firstLiteral || !secondLiteral)
                continue;
            const size_t receiverEnd
                = skipSpaceBack(text, before - (text[before - 1] == '.' ? 1 : 2));
            const std::string receiver = identifierBefore(text, receiverEnd);
            const auto group = tables.find(stemOf(path));
            if (group == tables.end() || !group->second.count(receiver)) {
                scan.problems.push_back(
                    origin(pos) + ": getString(\"" + first + "\", \"" + second + "\") through '"
                    + (receiver.empty() ? "?" : receiver)
                    + "', whose dialog file was not found; construct the table as 'CStringTable "
                      "m_strings{QStringLiteral(\"dlg_x.xml\")}' (or m_strings(...) in the "
                      "initialiser list) in a file of the same base name");
                continue;
            }
            scan.lookups.push_back({group->second.at(receiver), first, second, origin(pos)});
        }
    }
    return scan;
}

Scan scanModuleSources()
{
    std::vector<SourceFile> sources;
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(kSourceDir)) {
        static const std::set<std::string> extensions = {".cpp", ".h", ".hpp", ".cc", ".cxx"};
        if (entry.is_regular_file() && extensions.count(entry.path().extension().string()))
            sources.push_back(
                {fs::relative(entry.path(), kSourceDir).generic_string(), readFile(entry.path())});
    }
    std::sort(sources.begin(), sources.end(),
              [](const SourceFile &a, const SourceFile &b) { return a.path < b.path; });
    return scanSources(sources);
}

const Scan &moduleScan()
{
    static const Scan scan = scanModuleSources();
    return scan;
}

// --- The installed language files -------------------------------------------------------------

using Key = std::tuple<std::string, std::string, std::string>; // file, category, id

struct Language
{
    std::map<Key, std::string> texts;  // first item of each key, as the module finds it
    std::set<std::string> files;       // file names present
    std::vector<std::string> problems; // parse and shape faults
};

std::string describe(const std::string &language, const std::string &file,
                     const std::string &category, const std::string &id)
{
    return "language '" + language + "', file '" + file + "', category '" + category + "', id '"
        + id + "'";
}

std::string sharedFileName()
{
    const QString pathIni = QString::fromStdString((kInstallDir / "Config" / "Path.ini").string());
    return ostrelini::IniFile::readString(pathIni, u"PATH", u"xml_string", QString(),
                                          Common::kPathBufferLength)
        .toStdString();
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
        const bool shared = file == sharedName;
        if (!shared && !(file.rfind("dlg_", 0) == 0 && entry.path().extension() == ".xml")) {
            language.problems.push_back("language '" + code + "', file '" + file
                                        + "': neither the shared string file nor a dlg_*.xml");
            continue;
        }
        language.files.insert(file);
        const std::string content = readFile(entry.path());
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8(QByteArrayView(content.data(), qsizetype(content.size())));
        if (utf8.hasError())
            language.problems.push_back("language '" + code + "', file '" + file
                                        + "': not valid UTF-8");
        pugi::xml_document document;
        const pugi::xml_parse_result parsed = document.load_buffer(content.data(), content.size());
        if (!parsed) {
            language.problems.push_back("language '" + code + "', file '" + file
                                        + "': does not parse: " + parsed.description() + " at byte "
                                        + std::to_string(parsed.offset));
            continue;
        }
        const pugi::xml_node root = document.document_element();
        if (std::string(root.name()) != "string") {
            language.problems.push_back("language '" + code + "', file '" + file
                                        + "': document element is <" + root.name()
                                        + ">, not <string>");
            continue;
        }
        // Shared file: one element per category, named by it. Dialog files: <category id=...>.
        for (pugi::xml_node category : root.children()) {
            if (category.type() != pugi::node_element)
                continue;
            const std::string name = shared ? category.name() : category.attribute("id").value();
            if (!shared && (std::string(category.name()) != "category" || name.empty())) {
                language.problems.push_back("language '" + code + "', file '" + file
                                            + "': element <" + category.name()
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

std::string joined(const std::vector<std::string> &parts)
{
    std::string out;
    for (const std::string &part : parts)
        out += (out.empty() ? "" : " ") + part;
    return out.empty() ? "(none)" : out;
}

class InstalledLanguages : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_sharedName = new std::string(sharedFileName());
        s_languages = new std::map<std::string, Language>;
        for (const std::string &code : kLanguages)
            (*s_languages)[code] = readLanguage(code, *s_sharedName);
    }
    static void TearDownTestSuite()
    {
        delete s_sharedName;
        delete s_languages;
    }

    static std::string fileName(const Lookup &lookup)
    {
        return lookup.file == kShared ? *s_sharedName : lookup.file;
    }

    static void expectEveryLanguageHas(const std::vector<Lookup> &lookups)
    {
        for (const std::string &code : kLanguages) {
            const Language &language = s_languages->at(code);
            for (const Lookup &lookup : lookups) {
                const std::string file = fileName(lookup);
                if (!language.texts.count(Key {file, lookup.category, lookup.id}))
                    ADD_FAILURE() << describe(code, file, lookup.category, lookup.id)
                                  << ": missing (looked up in " << lookup.origin << ")";
            }
        }
    }

    static inline std::string *s_sharedName = nullptr;
    static inline std::map<std::string, Language> *s_languages = nullptr;
};

// If the scan silently found nothing, the key checks below would pass vacuously.
TEST_F(InstalledLanguages, ScanOfTheModuleFindsItsLookups)
{
    for (const std::string &problem : moduleScan().problems)
        ADD_FAILURE() << problem;
    // One lookup of each form the module uses must be seen.
    const auto seen = [](const std::string &file, const std::string &category,
                         const std::string &id) {
        return std::any_of(
            moduleScan().lookups.begin(), moduleScan().lookups.end(), [&](const Lookup &lookup) {
                return lookup.file == file && lookup.category == category && lookup.id == id;
            });
    };
    EXPECT_TRUE(seen(kShared, "setupManager", "providerMissing"));
    EXPECT_TRUE(seen("dlg_account_user.xml", "message", "error_password_confirm"));
    EXPECT_TRUE(seen("dlg_account_manager.xml", "message", "confirm_delete_user"));
}

// --- The language files ------------------------------------------------------------------------

TEST_F(InstalledLanguages, EveryFileParsesInItsShape)
{
    EXPECT_FALSE(s_sharedName->empty()) << "Config/Path.ini names no xml_string";
    for (const std::string &code : kLanguages) {
        const Language &language = s_languages->at(code);
        for (const std::string &problem : language.problems)
            ADD_FAILURE() << problem;
        EXPECT_TRUE(language.files.count(*s_sharedName))
            << "language '" << code << "', file '" << *s_sharedName << "': missing";
    }
}

TEST_F(InstalledLanguages, HaveEveryKeyTheModuleLooksUp)
{
    expectEveryLanguageHas(moduleScan().lookups);
    expectEveryLanguageHas(kDocumentedLookups);
}

TEST_F(InstalledLanguages, MatchEnglishKeyForKey)
{
    const Language &english = s_languages->at(kReference);
    for (const std::string &code : kLanguages) {
        if (code == kReference)
            continue;
        const Language &language = s_languages->at(code);
        for (const std::string &file : english.files)
            EXPECT_TRUE(language.files.count(file))
                << "language '" << code << "', file '" << file << "': missing (English has it)";
        for (const std::string &file : language.files)
            EXPECT_TRUE(english.files.count(file))
                << "language '" << code << "', file '" << file << "': English has no such file";
        for (const auto &[key, text] : english.texts)
            if (!language.texts.count(key))
                ADD_FAILURE() << describe(code, std::get<0>(key), std::get<1>(key),
                                          std::get<2>(key))
                              << ": missing (English has it)";
        for (const auto &[key, text] : language.texts)
            if (!english.texts.count(key))
                ADD_FAILURE() << describe(code, std::get<0>(key), std::get<1>(key),
                                          std::get<2>(key))
                              << ": not in English";
    }
}

// Callers fill the placeholders by position, so a translation must keep English's, in order.
TEST_F(InstalledLanguages, KeepEnglishPlaceholders)
{
    const Language &english = s_languages->at(kReference);
    for (const std::string &code : kLanguages) {
        for (const auto &[key, text] : s_languages->at(code).texts) {
            const auto reference = english.texts.find(key);
            if (reference == english.texts.end())
                continue;
            const std::vector<std::string> expected = placeholders(reference->second);
            const std::vector<std::string> actual = placeholders(text);
            EXPECT_EQ(actual, expected)
                << describe(code, std::get<0>(key), std::get<1>(key), std::get<2>(key))
                << ": placeholders " << joined(actual) << ", English has " << joined(expected);
        }
    }
}

// --- Path.ini, resolved the way the module resolves it ----------------------------------------

class InstalledPaths : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = fs::current_path();
        fs::current_path(kInstallDir);
    }
    void TearDown() override { fs::current_path(m_previous); }

    static std::vector<std::string> pathKeys()
    {
        std::vector<std::string> keys = kDocumentedPathKeys;
        for (const std::string &key : moduleScan().pathKeys)
            if (std::find(keys.begin(), keys.end(), key) == keys.end())
                keys.push_back(key);
        return keys;
    }

private:
    fs::path m_previous;
};

TEST_F(InstalledPaths, EveryKeyIsSetAndTheLanguageFilesResolve)
{
    for (const std::string &key : pathKeys())
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

    for (const std::string &key : pathKeys()) {
        if (key.rfind("xml_", 0) != 0 || key == "xml_string")
            continue;
        const QString path = Common::getPathEntry(key.c_str(), true);
        EXPECT_TRUE(fs::is_regular_file(path.toStdString()))
            << key << " resolves to " << path.toStdString() << ", which does not exist";
    }
}

} // namespace
