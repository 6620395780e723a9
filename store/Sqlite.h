// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small owner of SQLite connections and statements. Errors are reported
// as SqliteError with SQLite's own message.

#include <sqlite3.h>

#include <stdexcept>
#include <string>

namespace vktstore {

class SqliteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Statement;

class Database {
public:
    // Opens an existing database file for reading and writing; never creates one.
    static Database openExisting(const std::string& path);
    // Opens or creates a database file.
    static Database create(const std::string& path);

    Database(Database&& other) noexcept : db_(other.db_) { other.db_ = nullptr; }
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    void exec(const std::string& sql);
    Statement prepare(const std::string& sql);
    sqlite3* handle() const { return db_; }
    [[noreturn]] void fail() const;

private:
    explicit Database(sqlite3* db) : db_(db) {}
    sqlite3* db_;
};

class Statement {
public:
    Statement(Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) { other.stmt_ = nullptr; }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    Statement& bind(int index, const std::string& text);
    Statement& bind(int index, double value);
    Statement& bind(int index, int64_t value);
    // True while there is a row to read.
    bool step();
    // Runs a statement that returns no rows, ready to be bound and run again.
    void run();
    void reset();

    int columnType(int col) const { return sqlite3_column_type(stmt_, col); }
    std::string text(int col) const;
    double real(int col) const { return sqlite3_column_double(stmt_, col); }
    int64_t integer(int col) const { return sqlite3_column_int64(stmt_, col); }

private:
    friend class Database;
    Statement(const Database& db, sqlite3_stmt* stmt) : db_(&db), stmt_(stmt) {}
    const Database* db_;
    sqlite3_stmt* stmt_;
};

// BEGIN now; COMMIT on commit(); ROLLBACK if it goes out of scope first.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();

private:
    Database& db_;
    bool open_ = true;
};

} // namespace vktstore
