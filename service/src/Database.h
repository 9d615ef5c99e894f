#pragma once
// Thin RAII layer over one SQLite connection: the connection, prepared statements and transactions.

#include <cstdint>
#include <stdexcept>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Statement {
public:
    Statement(sqlite3* db, const std::string& sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, const std::string& value);
    Statement& bind(int index, const char* value);
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, int value) { return bind(index, static_cast<std::int64_t>(value)); }
    Statement& bind(int index, bool value) { return bind(index, static_cast<std::int64_t>(value ? 1 : 0)); }

    // Binds the arguments to parameters 1..n in order.
    template <typename... Args>
    Statement& bindAll(const Args&... args)
    {
        int index = 0;
        (bind(++index, args), ...);
        return *this;
    }

    // Advances to the next row; false when the statement is done.
    bool step();
    // Runs a statement that returns no rows.
    void run();

    std::string text(int column) const;
    std::int64_t integer(int column) const;
    bool isNull(int column) const;

private:
    void check(int rc, const char* what) const;

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

class Database {
public:
    // Opens (or creates) the file; ":memory:" gives a private in-memory database.
    explicit Database(const std::string& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Runs one or more statements without parameters.
    void execute(const std::string& sql);
    Statement prepare(const std::string& sql);

    std::int64_t lastInsertId() const;
    int changes() const;

private:
    sqlite3* db_ = nullptr;
};

// BEGIN IMMEDIATE on construction; rolls back unless commit() was called.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& db_;
    bool done_ = false;
};
