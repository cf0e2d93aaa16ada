// Recorders in bulk: a working copy's recorders written to CSV text (RFC 4180, UTF-8, a header
// row), and recorders read from such text into a working copy, each row checked as the setup
// dialog checks a new recorder. No widgets: the recorder manager asks the questions and shows
// the results.
#pragma once

#include <ostrel/data_provider.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace setupmgr {

// The header row, then one row per recorder: name, address, port, product_kind, login_id,
// password, use_ddns, ddns_address, ddns_id, ddns_password, and one "info:<name>" column per
// additional-information name in the order the names are first met. Without passwords, the two
// password columns are left out entirely. Field bytes are written as the record holds them.
QByteArray exportRecordersCsv(IServerListProvider *servers, bool withPasswords);

// Why a row was not added, in the order the checks run.
enum class ImportRefusal {
    FieldCount,   // not as many fields as the header row
    TooLong,      // a value longer than its field: refused, never cut
    PortRange,    // not a whole number from 0 to 65535
    BadValue,     // product_kind or use_ddns not understood, a zero byte in a text
    EmptyName,    // the dialog's checks from here on
    SameName,     // in the copy or an earlier row
    SameAddress,  // the same address and port, in the copy or an earlier row
    CreateFailed, // the list did not take it
};

struct RefusedRow
{
    qsizetype line; // where the row starts in the file, from 1
    ImportRefusal reason;
    QString column; // the header's name of the column at fault
    QString value;  // the value at fault; for FieldCount, the row's number of fields
};

enum class ImportFailure { None, NotCsv, MissingColumn, DuplicateColumn, Cancelled };

struct CsvImportResult
{
    ImportFailure failure = ImportFailure::None;
    qsizetype failureLine = 0; // NotCsv
    QString failureColumn;     // MissingColumn, DuplicateColumn
    int added = 0;
    qsizetype rows = 0;    // rows below the header
    qsizetype columns = 0; // fields of the header row
    std::vector<RefusedRow> refused;
    QStringList unknownColumns; // ignored, each named once
};

// Called before each row with the rows done and the rows in all; false cancels.
using ImportProgress = std::function<bool(qsizetype done, qsizetype total)>;

// Adds the valid rows of csv to the end of the copy, in file order. Columns come in any order;
// name and address are required, the others default as the setup dialog fills a new recorder of
// the row's product kind. Entries come from the info columns whose cells are not empty. A failed
// or cancelled import leaves the copy as it was. Each row costs the same however long the copy
// is: names and addresses are looked up in hash sets built once.
CsvImportResult importRecordersCsv(IServerListProvider *servers, const QByteArray &csv,
                                   const ImportProgress &progress = {});

// The texts the summary shows, from the language files.
QString refusalText(const RefusedRow &row, qsizetype headerColumns);
QString failureText(const CsvImportResult &result);

} // namespace setupmgr
