// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/Sqlite.h"

namespace vktstore {

namespace {

sqlite3* Open(const std::string& path, int flags) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        throw SqliteError(message);
    }
    sqlite3_busy_timeout(db, 2000);
    return db;
}

} // namespace

Database Database::openExisting(const std::string& path) {
    Database db(Open(path, SQLITE_OPEN_READWRITE));
    // A file that is not a database shows up only when it is first read.
    db.exec("SELECT count(*) FROM sqlite_master");
    return db;
}

Database Database::create(const std::string& path) { return Database(Open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)); }

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        sqlite3_close(db_);
        db_ = other.db_;
        other.db_ = nullptr;
    }
    return *this;
}

Database::~Database() { sqlite3_close(db_); }

void Database::fail() const { throw SqliteError(sqlite3_errmsg(db_)); }

void Database::exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : sqlite3_errmsg(db_);
        sqlite3_free(error);
        throw SqliteError(message);
    }
}

Statement Database::prepare(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) fail();
    return Statement(*this, stmt);
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::bind(int index, const std::string& text) {
    if (sqlite3_bind_text(stmt_, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT) != SQLITE_OK) db_->fail();
    return *this;
}

Statement& Statement::bind(int index, double value) {
    if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK) db_->fail();
    return *this;
}

Statement& Statement::bind(int index, int64_t value) {
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) db_->fail();
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    db_->fail();
}

void Statement::run() {
    while (step()) {
    }
    reset();
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::string Statement::text(int col) const {
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    return t ? std::string(t, static_cast<size_t>(sqlite3_column_bytes(stmt_, col))) : std::string();
}

Transaction::Transaction(Database& db) : db_(db) { db_.exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
    if (open_) {
        try {
            db_.exec("ROLLBACK");
        } catch (const SqliteError&) {
        }
    }
}

void Transaction::commit() {
    db_.exec("COMMIT");
    open_ = false;
}

} // namespace vktstore
