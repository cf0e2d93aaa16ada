#include "recorder_csv.h"

#include "common/language.h"
#include "common/module_log.h"
#include "common/text_field.h"
#include "server_rules.h"

#include <QHash>
#include <QSet>

#include <csv.h>

#include <array>
#include <optional>

namespace setupmgr {

namespace {

enum Column {
    kName,
    kAddress,
    kPort,
    kProductKind,
    kLoginId,
    kPassword,
    kUseDdns,
    kDdnsAddress,
    kDdnsId,
    kDdnsPassword,
    kColumnCount
};
constexpr const char *kHeaders[kColumnCount]
    = {"name",     "address",  "port",         "product_kind", "login_id",
       "password", "use_ddns", "ddns_address", "ddns_id",      "ddns_password"};
constexpr char kInfoPrefix[] = "info:";
constexpr qsizetype kInfoPrefixLength = sizeof(kInfoPrefix) - 1;

// The bytes each text column may hold: what its field stores, or what the setup dialog lets
// the user type into the login and DDNS edits.
constexpr qsizetype kTextLength = sizeof(ServerRecord::name) - 1;
constexpr qsizetype kInfoLength = sizeof(AdditionalInfo::name) - 1;
static_assert(sizeof(ServerRecord::address) - 1 == kTextLength);
static_assert(sizeof(AdditionalInfo::value) - 1 == kInfoLength);
constexpr qsizetype kLimits[kColumnCount]
    = {kTextLength,       kTextLength,       -1, -1,
       kLoginFieldLength, kLoginFieldLength, -1, kLoginFieldLength,
       kLoginFieldLength, kLoginFieldLength};

bool secret(int column)
{
    return column == kPassword || column == kDdnsPassword;
}

// --- writing --------------------------------------------------------------------------------

// One field, always quoted: quotes doubled, commas and line breaks kept inside the quotes.
void appendField(QByteArray &out, const QByteArray &value, bool first)
{
    if (!first)
        out += ',';
    const std::size_t size = csv_write(nullptr, 0, value.constData(), std::size_t(value.size()));
    const qsizetype at = out.size();
    out.resize(at + qsizetype(size));
    csv_write(out.data() + at, size, value.constData(), std::size_t(value.size()));
}

void appendRow(QByteArray &out, const std::vector<QByteArray> &fields)
{
    for (std::size_t i = 0; i < fields.size(); ++i)
        appendField(out, fields[i], i == 0);
    out += "\r\n";
}

QByteArray columnValue(const ServerRecord &record, int column)
{
    switch (column) {
    case kName:
        return fieldBytes(record.name);
    case kAddress:
        return fieldBytes(record.address);
    case kPort:
        return QByteArray::number(record.port);
    case kProductKind:
        return QByteArray::number(record.productKind);
    case kLoginId:
        return fieldBytes(record.loginId);
    case kPassword:
        return fieldBytes(record.password);
    case kUseDdns:
        return record.useDdns ? "1" : "0";
    case kDdnsAddress:
        return fieldBytes(record.ddnsAddress);
    case kDdnsId:
        return fieldBytes(record.ddnsId);
    default:
        return fieldBytes(record.ddnsPassword);
    }
}

// --- reading --------------------------------------------------------------------------------

struct CsvRow
{
    qsizetype line = 0;
    std::vector<QByteArray> fields;
};

struct ParseState
{
    std::vector<CsvRow> rows;
    CsvRow current;
    bool inRow = false;
    qsizetype line = 0;
    qsizetype rowLine = 0; // the first line with text since the last row ended
};

void onField(void *field, std::size_t size, void *data)
{
    auto *state = static_cast<ParseState *>(data);
    if (!state->inRow) {
        state->inRow = true;
        state->current.line = state->rowLine ? state->rowLine : state->line;
    }
    state->current.fields.emplace_back(static_cast<const char *>(field), qsizetype(size));
}

void onRowEnd(int, void *data)
{
    auto *state = static_cast<ParseState *>(data);
    state->rows.push_back(std::move(state->current));
    state->current = {};
    state->inRow = false;
    state->rowLine = 0;
}

// Blanks around a field are the field's: only name and address lose theirs, as in the dialog.
int noSpace(unsigned char)
{
    return 0;
}

// The rows of csv with the line each starts on; nullopt and the line at fault when it is not
// valid CSV. The text goes to the parser a line at a time, so that a row's first line is known
// even when a quoted field spans several before the parser gives the field.
std::optional<std::vector<CsvRow>> parseCsv(QByteArray csv, qsizetype &errorLine)
{
    if (csv.startsWith("\xEF\xBB\xBF"))
        csv.remove(0, 3);
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0)
        return std::nullopt;
    csv_set_space_func(&parser, noSpace);
    ParseState state;
    bool valid = true;
    for (qsizetype from = 0; from < csv.size() && valid;) {
        const qsizetype newline = csv.indexOf('\n', from);
        const qsizetype end = newline < 0 ? csv.size() : newline + 1;
        const std::size_t length = std::size_t(end - from);
        ++state.line;
        // The parser skips empty lines between rows.
        const bool empty = std::all_of(csv.constData() + from, csv.constData() + end,
                                       [](char c) { return c == '\r' || c == '\n'; });
        if (!state.inRow && !state.rowLine && !empty)
            state.rowLine = state.line;
        valid = csv_parse(&parser, csv.constData() + from, length, onField, onRowEnd, &state)
            == length;
        from = end;
    }
    valid = valid && csv_fini(&parser, onField, onRowEnd, &state) == 0;
    csv_free(&parser);
    if (!valid) {
        errorLine = state.line;
        return std::nullopt;
    }
    return std::move(state.rows);
}

// Which field of a row feeds what: -1 for a column the file leaves out.
struct Layout
{
    std::array<qsizetype, kColumnCount> column;
    std::vector<std::pair<qsizetype, QByteArray>> info; // field, entry name
};

bool readHeader(const std::vector<QByteArray> &header, Layout &layout, CsvImportResult &result)
{
    layout.column.fill(-1);
    QSet<QByteArray> infoNames;
    for (qsizetype i = 0; i < qsizetype(header.size()); ++i) {
        const QByteArray name = header[std::size_t(i)].trimmed();
        const QByteArray lower = name.toLower();
        const auto *known = std::find(std::begin(kHeaders), std::end(kHeaders), lower);
        qsizetype *slot = known == std::end(kHeaders)
            ? nullptr
            : &layout.column[std::size_t(known - std::begin(kHeaders))];
        const bool info = !slot && lower.startsWith(kInfoPrefix) && name.size() > kInfoPrefixLength;
        const bool twice
            = (slot && *slot >= 0) || (info && infoNames.contains(name.mid(kInfoPrefixLength)));
        if (twice) {
            result.failure = ImportFailure::DuplicateColumn;
            result.failureColumn = QString::fromUtf8(name);
            return false;
        }
        if (slot) {
            *slot = i;
        } else if (info) {
            layout.info.emplace_back(i, name.mid(kInfoPrefixLength));
            infoNames.insert(name.mid(kInfoPrefixLength));
        } else if (!result.unknownColumns.contains(QString::fromUtf8(name))) {
            result.unknownColumns << QString::fromUtf8(name);
        }
    }
    for (const Column required : {kName, kAddress}) {
        if (layout.column[required] < 0) {
            result.failure = ImportFailure::MissingColumn;
            result.failureColumn = QLatin1String(kHeaders[required]);
            return false;
        }
    }
    return true;
}

// A recorder as a row gives it, checked for form but not yet against the list.
struct Candidate
{
    std::array<QByteArray, kColumnCount> text; // the text columns' bytes
    std::uint16_t port = 0;
    std::int32_t productKind = 0;
    bool useDdns = false;
    std::vector<std::pair<QByteArray, QByteArray>> info;
};

// The dialog's trim, on bytes: text that is not UTF-8 keeps its bytes and loses ASCII blanks.
QByteArray trimmedBytes(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    return text.toUtf8() == bytes ? trimmedServerText(text).toUtf8() : bytes.trimmed();
}

std::optional<bool> readFlag(const QByteArray &value)
{
    const QByteArray flag = value.trimmed().toLower();
    if (flag.isEmpty() || flag == "0" || flag == "false" || flag == "no")
        return false;
    if (flag == "1" || flag == "true" || flag == "yes")
        return true;
    return std::nullopt;
}

bool isNumber(const QByteArray &text)
{
    return !text.isEmpty()
        && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Fills candidate from row; the first thing wrong with its form, if any.
std::optional<RefusedRow> readRow(const Layout &layout, const std::vector<QByteArray> &header,
                                  const CsvRow &row, Candidate &candidate)
{
    const auto refuse = [&](ImportRefusal reason, qsizetype field, const QByteArray &value) {
        const QByteArray column = field < 0 ? QByteArray() : header[std::size_t(field)].trimmed();
        return RefusedRow {row.line, reason, QString::fromUtf8(column), QString::fromUtf8(value)};
    };
    if (row.fields.size() != header.size())
        return refuse(ImportRefusal::FieldCount, -1,
                      QByteArray::number(qsizetype(row.fields.size())));
    const auto cell = [&](int column) {
        const qsizetype field = layout.column[std::size_t(column)];
        return field < 0 ? std::optional<QByteArray>() : row.fields[std::size_t(field)];
    };
    const QByteArray kind = cell(kProductKind).value_or(QByteArray()).trimmed();
    bool number = isNumber(kind.startsWith('-') ? kind.mid(1) : kind);
    candidate.productKind = kind.isEmpty() ? 0 : kind.toInt(&number);
    if (!kind.isEmpty() && !number)
        return refuse(ImportRefusal::BadValue, layout.column[kProductKind], kind);
    const ProductDefaults defaults = productDefaults(storedProductKind(candidate.productKind));
    const QByteArray port = cell(kPort).value_or(QByteArray()).trimmed();
    candidate.port = defaults.port;
    if (!port.isEmpty()) {
        const uint value = port.size() <= 5 && isNumber(port) ? port.toUInt() : 65536;
        if (value > 65535)
            return refuse(ImportRefusal::PortRange, layout.column[kPort], port);
        candidate.port = std::uint16_t(value);
    }
    const std::optional<bool> useDdns = readFlag(cell(kUseDdns).value_or(QByteArray()));
    if (!useDdns)
        return refuse(ImportRefusal::BadValue, layout.column[kUseDdns], *cell(kUseDdns));
    candidate.useDdns = *useDdns;
    candidate.text[kLoginId] = defaults.loginId;
    candidate.text[kPassword] = defaults.passwordToo ? defaults.loginId : "";
    for (int column = 0; column < kColumnCount; ++column) {
        const std::optional<QByteArray> value = cell(column);
        if (kLimits[column] < 0 || !value)
            continue;
        candidate.text[std::size_t(column)]
            = column == kName || column == kAddress ? trimmedBytes(*value) : *value;
        // A record's text ends at its first zero byte: such a value could not be stored whole.
        if (value->contains('\0'))
            return refuse(ImportRefusal::BadValue, layout.column[std::size_t(column)], *value);
        if (candidate.text[std::size_t(column)].size() > kLimits[column])
            return refuse(ImportRefusal::TooLong, layout.column[std::size_t(column)], *value);
    }
    for (const auto &[field, name] : layout.info) {
        const QByteArray &value = row.fields[std::size_t(field)];
        if (value.isEmpty())
            continue;
        if (name.contains('\0') || value.contains('\0'))
            return refuse(ImportRefusal::BadValue, field, value);
        if (name.size() > kInfoLength || value.size() > kInfoLength)
            return refuse(ImportRefusal::TooLong, field, value);
        candidate.info.emplace_back(name, value);
    }
    return std::nullopt;
}

QByteArray addressKey(const QByteArray &address, std::uint16_t port)
{
    return address + '\0' + char(port >> 8) + char(port & 0xFF);
}

// Appends the recorder; false, with nothing left behind, when the list does not take it.
bool addRecorder(IServerListProvider *servers, const Candidate &candidate)
{
    const QByteArray &name = candidate.text[kName];
    const std::int32_t index = servers->createServer(name.constData());
    if (index < 0)
        return false;
    // Entries go in as given, byte for byte, like entries the dialog shows unchanged.
    std::vector<InfoRow> rows;
    for (const auto &[infoName, value] : candidate.info) {
        AdditionalInfo entry {};
        entry.tag = -1;
        setFieldBytes(entry.name, infoName);
        setFieldBytes(entry.value, value);
        rows.push_back({-1, QString(), QString(), entry});
    }
    ServerRecord *record = nullptr;
    if (!servers->getServer(index, &record) || !record || !replaceAdditionalInfo(*record, rows)) {
        if (!servers->removeServer(name.constData()))
            Common::writeLog("An imported recorder could not be filled nor removed again");
        return false;
    }
    record->productKind = storedProductKind(candidate.productKind);
    record->port = candidate.port;
    record->useDdns = candidate.useDdns ? 1 : 0;
    setFieldBytes(record->address, candidate.text[kAddress]);
    setFieldBytes(record->loginId, candidate.text[kLoginId]);
    setFieldBytes(record->password, candidate.text[kPassword]);
    setFieldBytes(record->ddnsAddress, candidate.text[kDdnsAddress]);
    setFieldBytes(record->ddnsId, candidate.text[kDdnsId]);
    setFieldBytes(record->ddnsPassword, candidate.text[kDdnsPassword]);
    return true;
}

// The names and addresses of the copy and of the rows added so far.
struct ListIndex
{
    QSet<QByteArray> names;
    QSet<QByteArray> addresses;

    // Room for the rows too, so that adding them never grows the sets.
    ListIndex(IServerListProvider *servers, qsizetype rows)
    {
        const std::int32_t count = servers->getServerCount();
        names.reserve(count + rows);
        addresses.reserve(count + rows);
        for (std::int32_t i = 0; i < count; ++i) {
            ServerRecord *record = nullptr;
            if (servers->getServer(i, &record) && record)
                add(fieldBytes(record->name), fieldBytes(record->address), record->port);
        }
    }

    void add(const QByteArray &name, const QByteArray &address, std::uint16_t port)
    {
        names.insert(name);
        addresses.insert(addressKey(address, port));
    }
};

ImportRefusal importRefusal(ServerRefusal refusal)
{
    switch (refusal) {
    case ServerRefusal::SameName:
        return ImportRefusal::SameName;
    case ServerRefusal::SameAddress:
        return ImportRefusal::SameAddress;
    case ServerRefusal::CreateFailed:
        return ImportRefusal::CreateFailed;
    case ServerRefusal::None:
    case ServerRefusal::EmptyName:
        break;
    }
    return ImportRefusal::EmptyName;
}

void rollBack(IServerListProvider *servers, const std::vector<QByteArray> &added)
{
    // The names were free before the import, so each is the first of its name.
    for (auto name = added.rbegin(); name != added.rend(); ++name) {
        if (!servers->removeServer(name->constData()))
            Common::writeLog("An imported recorder could not be removed again: %s",
                             name->constData());
    }
}

} // namespace

QByteArray exportRecordersCsv(IServerListProvider *servers, bool withPasswords)
{
    std::vector<const ServerRecord *> records;
    std::vector<QByteArray> infoNames;
    QHash<QByteArray, std::size_t> infoColumn;
    const std::int32_t count = servers ? servers->getServerCount() : 0;
    for (std::int32_t i = 0; i < count; ++i) {
        ServerRecord *record = nullptr;
        if (!servers->getServer(i, &record) || !record)
            continue;
        records.push_back(record);
        for (std::size_t e = 0, n = seqSize(record->additionalInfo); e < n; ++e) {
            const AdditionalInfo *info = seqAt(record->additionalInfo, e);
            const QByteArray name = info ? fieldBytes(info->name) : QByteArray();
            if (!name.isEmpty() && !infoColumn.contains(name)) {
                infoColumn.insert(name, infoNames.size());
                infoNames.push_back(name);
            }
        }
    }
    std::vector<QByteArray> fields;
    for (int column = 0; column < kColumnCount; ++column) {
        if (withPasswords || !secret(column))
            fields.emplace_back(kHeaders[column]);
    }
    const std::size_t fixed = fields.size();
    for (const QByteArray &name : infoNames)
        fields.push_back(kInfoPrefix + name);
    QByteArray out;
    appendRow(out, fields);
    for (const ServerRecord *record : records) {
        fields.assign(fixed + infoNames.size(), QByteArray());
        for (int column = 0, field = 0; column < kColumnCount; ++column) {
            if (withPasswords || !secret(column))
                fields[std::size_t(field++)] = columnValue(*record, column);
        }
        // A name the record uses twice exports its first value.
        for (std::size_t e = seqSize(record->additionalInfo); e-- > 0;) {
            const AdditionalInfo *info = seqAt(record->additionalInfo, e);
            const auto column
                = info ? infoColumn.constFind(fieldBytes(info->name)) : infoColumn.constEnd();
            if (column != infoColumn.constEnd())
                fields[fixed + *column] = fieldBytes(info->value);
        }
        appendRow(out, fields);
    }
    return out;
}

CsvImportResult importRecordersCsv(IServerListProvider *servers, const QByteArray &csv,
                                   const ImportProgress &progress)
{
    CsvImportResult result;
    const std::optional<std::vector<CsvRow>> rows = parseCsv(csv, result.failureLine);
    if (!rows) {
        result.failure = ImportFailure::NotCsv;
        return result;
    }
    Layout layout;
    const std::vector<QByteArray> header
        = rows->empty() ? std::vector<QByteArray>() : rows->front().fields;
    result.columns = qsizetype(header.size());
    if (!readHeader(header, layout, result) || !servers)
        return result;
    result.rows = qsizetype(rows->size()) - 1;
    ListIndex index(servers, result.rows);
    const ServerLookup lookup {
        [&index](const QByteArray &name) { return index.names.contains(name); },
        [&index](const QByteArray &address, std::uint16_t port) {
            return index.addresses.contains(addressKey(address, port));
        }};
    std::vector<QByteArray> added;
    for (qsizetype i = 0; i < result.rows; ++i) {
        if (progress && !progress(i, result.rows)) {
            rollBack(servers, added);
            return {ImportFailure::Cancelled, 0, {}, 0, result.rows, result.columns, {}, {}};
        }
        const CsvRow &row = (*rows)[std::size_t(i + 1)];
        Candidate candidate;
        std::optional<RefusedRow> refused = readRow(layout, header, row, candidate);
        if (!refused) {
            const QByteArray &name = candidate.text[kName];
            const QByteArray &address = candidate.text[kAddress];
            ServerRefusal check = checkNewServer(lookup, name, address, candidate.port);
            if (check == ServerRefusal::None && !addRecorder(servers, candidate))
                check = ServerRefusal::CreateFailed;
            if (check != ServerRefusal::None) {
                refused = RefusedRow {row.line, importRefusal(check), {}, {}};
            } else {
                index.add(name, address, candidate.port);
                added.push_back(name);
            }
        }
        if (refused)
            result.refused.push_back(*refused);
    }
    result.added = int(added.size());
    return result;
}

QString refusalText(const RefusedRow &row, qsizetype headerColumns)
{
    const auto text = [](const char *id) { return Common::getString(id, "serverImport"); };
    switch (row.reason) {
    case ImportRefusal::FieldCount:
        return text("fieldCount").arg(row.value, QString::number(headerColumns));
    case ImportRefusal::TooLong:
        return text("tooLong").arg(row.column);
    case ImportRefusal::PortRange:
        return text("portRange").arg(row.value);
    case ImportRefusal::BadValue:
        return text("badValue").arg(row.column, row.value);
    case ImportRefusal::EmptyName:
        return text("emptyName");
    case ImportRefusal::SameName:
        return text("sameName");
    case ImportRefusal::SameAddress:
        return Common::getString(messageKey(ServerRefusal::SameAddress), "message");
    case ImportRefusal::CreateFailed:
        break;
    }
    return Common::getString(messageKey(ServerRefusal::CreateFailed), "message");
}

QString failureText(const CsvImportResult &result)
{
    const auto text = [](const char *id) { return Common::getString(id, "serverImport"); };
    switch (result.failure) {
    case ImportFailure::NotCsv:
        return text("notCsv").arg(result.failureLine);
    case ImportFailure::MissingColumn:
        return text("missingColumn").arg(result.failureColumn);
    case ImportFailure::DuplicateColumn:
        return text("duplicateColumn").arg(result.failureColumn);
    case ImportFailure::None:
    case ImportFailure::Cancelled:
        break;
    }
    return QString();
}

} // namespace setupmgr
