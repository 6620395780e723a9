// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/clsDBUtil.h"

#include <vector>

#include "store/ChannelFields.h"
#include "store/dbGlobal.h"

namespace vktstore {

namespace {

// Opens a database and checks its table is there; on failure the message.
std::optional<Database> OpenChannelDatabase(const std::string& path, std::string& error) {
    try {
        Database db = Database::openExisting(path);
        db.prepare("SELECT rowid FROM tblChannel");
        return db;
    } catch (const SqliteError& e) {
        error = e.what();
        return std::nullopt;
    }
}

// The records in their natural order.
std::vector<int64_t> RowIds(Database& db) {
    std::vector<int64_t> rows;
    for (Statement s = db.prepare("SELECT rowid FROM tblChannel ORDER BY rowid"); s.step();) rows.push_back(s.integer(0));
    return rows;
}

// Sets the five channel fields (?1 ... ?5) of record ?6.
Statement UpdateRow(Database& db) {
    return db.prepare(
        "UPDATE tblChannel SET \"Rec Freq\" = ?1, \"Rec CG\" = ?2, \"Tx Freq\" = ?3, \"Tx CG\" = ?4, \"Ch Label\" = ?5 "
        "WHERE rowid = ?6");
}

} // namespace

clsDBUtil::clsDBUtil(vkt::Platform& platform, const vkt::Grid* grid) : platform_(platform), grid_(grid) {
    dbGlobal::DBEngine();
    // The first database that will not open is reported; the other is not tried.
    current_ = OpenChannelDatabase(dbGlobal::CurrentPath(), currentError_);
    if (current_) last_ = OpenChannelDatabase(dbGlobal::LastPath(), lastError_);
    const std::string& failure = current_ ? lastError_ : currentError_;
    if (!failure.empty()) platform_.MsgBox(OpenError + failure, vkt::Buttons::OK, vkt::Icon::None);
}

Database& clsDBUtil::current() {
    if (!current_) throw SqliteError(currentError_.empty() ? "the current database is not open" : currentError_);
    return *current_;
}

Database& clsDBUtil::last() {
    if (!last_) throw SqliteError(lastError_.empty() ? "the last-screen database is not open" : lastError_);
    return *last_;
}

template <class F> void clsDBUtil::attempt(const char* prefix, F&& body) {
    try {
        body();
    } catch (const SqliteError& e) {
        platform_.MsgBox(prefix + std::string(e.what()), vkt::Buttons::OK, vkt::Icon::None);
    }
}

// The k-th record of one table goes to the k-th of the other; records are
// not matched by CHAN.
void clsDBUtil::copy(Database& from, Database& to, bool lastRowFromGrid) {
    Transaction t(to);
    Statement source = from.prepare("SELECT \"CHAN\", " + FieldList(1) + " FROM tblChannel ORDER BY rowid");
    const std::vector<int64_t> targets = RowIds(to);
    Statement update = UpdateRow(to);
    size_t k = 0;
    while (source.step()) {
        if (k >= targets.size()) throw SqliteError("No current record.");
        const bool fromGrid = lastRowFromGrid && grid_ && source.integer(0) == 16;
        for (int col = 1; col < 6; ++col) {
            if (fromGrid) {
                BindField(update, col, grid_->cellText(ChannelRows - 1, col));
                continue;
            }
            switch (source.columnType(col)) {
            case SQLITE_NULL: break;
            case SQLITE_INTEGER:
            case SQLITE_FLOAT: update.bind(col, source.real(col)); break;
            default: update.bind(col, source.text(col)); break;
            }
        }
        update.bind(6, targets[k++]);
        update.run();
    }
    t.commit();
}

void clsDBUtil::currentToLast() {
    attempt(CurrentToLastError, [this] { copy(current(), last(), true); });
}

void clsDBUtil::lastToCurrent() {
    attempt(LastToCurrentError, [this] { copy(last(), current(), false); });
}

void clsDBUtil::fill(bool withFrequencies) {
    Database& db = current();
    Transaction t(db);
    const std::vector<int64_t> rows = RowIds(db);
    Statement update = UpdateRow(db);
    int n = 160;
    for (int64_t row : rows) {
        update.bind(1, withFrequencies ? 162.0 + n * 0.0025 : 0.0)
            .bind(2, std::string("0.0"))
            .bind(3, 0.0)
            .bind(4, std::string("0.0"))
            .bind(5, std::string("00000000"))
            .bind(6, row);
        update.run();
        // 162.4, 162.45, 162.5, 162.55, and again.
        n += 20;
        if (n == 240) n = 160;
    }
    t.commit();
}

void clsDBUtil::setDefault() {
    attempt(SetDefaultError, [this] { fill(true); });
}

void clsDBUtil::setBlank() {
    attempt(SetBlankError, [this] { fill(false); });
}

} // namespace vktstore
