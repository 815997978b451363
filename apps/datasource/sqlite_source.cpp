#include <sqlite3.h>

#include "apps/datasource/data_source.h"

namespace quillon::data {

namespace {

std::string QuoteIdentifier(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    return out + "\"";
}

class SqliteSource : public DataSource {
  public:
    SqliteSource(const std::filesystem::path& path, const SqliteQuery& query)
        : name_(path.string()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) {
            throw DataSourceError(name_ + ": cannot open the file");
        }
        sqlite3* db = nullptr;
        const int rc = sqlite3_open_v2(name_.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        db_.reset(db);
        if (rc != SQLITE_OK) Fail("cannot open the database");
        std::string sql = query.sql;
        if (sql.empty()) {
            if (query.table.empty()) {
                throw DataSourceError(name_ + ": give a query or a table to read");
            }
            sql = "SELECT * FROM " + QuoteIdentifier(query.table);
        }
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_.get(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            Fail("cannot run the query");
        }
        stmt_.reset(stmt);
        if (stmt_ == nullptr) throw DataSourceError(name_ + ": the query is empty");
        const int n = sqlite3_column_count(stmt_.get());
        for (int i = 0; i < n; ++i) {
            const char* col = sqlite3_column_name(stmt_.get(), i);
            columns_.emplace_back(col != nullptr ? col : "");
        }
    }

    const std::vector<std::string>& Columns() const override { return columns_; }

    bool Next() override {
        if (done_) return false;
        const int rc = sqlite3_step(stmt_.get());
        if (rc == SQLITE_DONE) {
            done_ = true;
            return false;
        }
        if (rc != SQLITE_ROW) Fail("record " + std::to_string(record_ + 1));
        ++record_;
        return true;
    }

    std::string_view Value(std::size_t column) const override {
        if (done_ || record_ == 0 || column >= columns_.size()) return {};
        const int i = static_cast<int>(column);
        const auto* text = sqlite3_column_text(stmt_.get(), i);
        if (text == nullptr) return {};
        return {reinterpret_cast<const char*>(text),
                static_cast<std::size_t>(sqlite3_column_bytes(stmt_.get(), i))};
    }
    std::size_t RecordNumber() const override { return record_; }

  private:
    [[noreturn]] void Fail(const std::string& what) {
        throw DataSourceError(name_ + ": " + what + ": " +
                              (db_ ? sqlite3_errmsg(db_.get()) : "out of memory"));
    }

    struct CloseDb {
        void operator()(sqlite3* db) const { sqlite3_close(db); }
    };
    struct Finalize {
        void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
    };

    std::string name_;
    std::unique_ptr<sqlite3, CloseDb> db_;
    std::unique_ptr<sqlite3_stmt, Finalize> stmt_;  // declared after db_: finalized first
    std::vector<std::string> columns_;
    std::size_t record_ = 0;
    bool done_ = false;
};

}  // namespace

std::unique_ptr<DataSource> OpenSqlite(const std::filesystem::path& path,
                                       const SqliteQuery& query) {
    return std::make_unique<SqliteSource>(path, query);
}

}  // namespace quillon::data
