#pragma once
// Records for a report run, read one at a time from a CSV file, a JSON array of objects,
// JSON Lines (one object per line) or an SQLite query. Every value is text (numbers as
// written by their source); a missing or NULL value is empty. Files are read as streams:
// memory does not grow with the number of records.

#include <filesystem>
#include <istream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::data {

// A source that cannot be opened or is malformed. The message names the file and, for
// malformed data, the line (CSV: where a quoted field left open began), line and column
// (JSON) or record where reading stopped.
class DataSourceError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class DataSource {
  public:
    virtual ~DataSource() = default;

    // Column names in source order.
    virtual const std::vector<std::string>& Columns() const = 0;
    // Moves to the next record; false when there is none. Throws DataSourceError.
    virtual bool Next() = 0;
    // Value of a column of the current record.
    virtual std::string_view Value(std::size_t column) const = 0;
    // Number of records read so far (1 for the first record).
    virtual std::size_t RecordNumber() const = 0;

    // Index of a column, compared case-insensitively; -1 when there is none.
    int ColumnIndex(std::string_view name) const;
};

struct SqliteQuery {
    std::string sql;    // a SELECT statement, or empty
    std::string table;  // a table to read whole, when sql is empty
};

// CSV: a header row with the column names, then records (RFC 4180 quoting, UTF-8; a byte
// order mark is skipped). Every record must have as many fields as the header.
std::unique_ptr<DataSource> OpenCsv(const std::filesystem::path& path);
// CSV from a stream; name stands for the file in messages.
std::unique_ptr<DataSource> OpenCsv(std::unique_ptr<std::istream> in, std::string name);
// How JSON records are laid out: the objects of one top-level array, or JSON Lines (one
// object per line; blank lines are skipped).
enum class JsonForm { kArray, kLines };

// JSON (UTF-8, a byte order mark is skipped). A string value is unescaped; a number is
// kept as written; true and false are words; null is empty; a nested object or array is
// its JSON text without blanks between tokens.
//
// A regular file is read twice, both times as a stream: the first pass checks the whole
// text and collects the columns, the keys in order of first appearance (so a malformed
// file fails before any record is delivered); the second delivers the records.
// A pipe, a device or a stream can be read only once: its columns are the keys of the
// first record, and a later record with a key the first one lacks is an error that names
// the key (never a value silently dropped). A fault further on is met when the record
// holding it is read.
std::unique_ptr<DataSource> OpenJson(const std::filesystem::path& path,
                                     JsonForm form = JsonForm::kArray);
// JSON from a stream, read once as above; name stands for the file in messages.
std::unique_ptr<DataSource> OpenJson(std::unique_ptr<std::istream> in, std::string name,
                                     JsonForm form = JsonForm::kArray);
// SQLite: the rows of a query or of a whole table.
std::unique_ptr<DataSource> OpenSqlite(const std::filesystem::path& path, const SqliteQuery& query);

enum class SourceKind { kCsv, kJson, kJsonLines, kSqlite };
// By extension (any case): .csv, .json, .jsonl or .ndjson, else an SQLite database.
SourceKind KindOf(const std::filesystem::path& path);

std::unique_ptr<DataSource> Open(const std::filesystem::path& path, SourceKind kind,
                                 const SqliteQuery& query);
// Chooses by extension (KindOf).
std::unique_ptr<DataSource> Open(const std::filesystem::path& path, const SqliteQuery& query);

}  // namespace quillon::data
