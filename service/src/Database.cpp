#include "Database.h"

#include <sqlite3.h>

Statement::Statement(sqlite3* db, const std::string& sql) : db_(db)
{
    int rc = sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK)
        throw DatabaseError(std::string("cannot prepare \"") + sql + "\": " + sqlite3_errmsg(db_));
}

Statement::~Statement()
{
    if (stmt_)
        sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_)
{
    other.stmt_ = nullptr;
}

void Statement::check(int rc, const char* what) const
{
    if (rc != SQLITE_OK)
        throw DatabaseError(std::string(what) + ": " + sqlite3_errmsg(db_));
}

Statement& Statement::bind(int index, const std::string& value)
{
    check(sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT),
          "bind text");
    return *this;
}

Statement& Statement::bind(int index, const char* value)
{
    return bind(index, std::string(value ? value : ""));
}

Statement& Statement::bind(int index, std::int64_t value)
{
    check(sqlite3_bind_int64(stmt_, index, value), "bind integer");
    return *this;
}

bool Statement::step()
{
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw DatabaseError(std::string("step: ") + sqlite3_errmsg(db_));
}

void Statement::run()
{
    while (step()) {
    }
}

std::string Statement::text(int column) const
{
    const unsigned char* p = sqlite3_column_text(stmt_, column);
    if (!p)
        return std::string();
    return std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

std::int64_t Statement::integer(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

Database::Database(const std::string& path)
{
    int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                             nullptr);
    if (rc != SQLITE_OK) {
        std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw DatabaseError("cannot open database \"" + path + "\": " + message);
    }
    sqlite3_busy_timeout(db_, 5000);
    execute("PRAGMA foreign_keys = ON");
}

Database::~Database()
{
    sqlite3_close(db_);
}

void Database::execute(const std::string& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw DatabaseError("cannot run \"" + sql.substr(0, 80) + "\": " + message);
    }
}

Statement Database::prepare(const std::string& sql)
{
    return Statement(db_, sql);
}

std::int64_t Database::lastInsertId() const
{
    return sqlite3_last_insert_rowid(db_);
}

int Database::changes() const
{
    return sqlite3_changes(db_);
}

Transaction::Transaction(Database& db) : db_(db)
{
    db_.execute("BEGIN IMMEDIATE");
}

Transaction::~Transaction()
{
    if (!done_) {
        try {
            db_.execute("ROLLBACK");
        } catch (...) {
        }
    }
}

void Transaction::commit()
{
    db_.execute("COMMIT");
    done_ = true;
}
