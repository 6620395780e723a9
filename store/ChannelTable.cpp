// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/ChannelTable.h"

namespace vktstore {

namespace {

FieldValue ValueOf(const Statement& s, int col) {
    switch (s.columnType(col)) {
    case SQLITE_NULL: return {};
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: return {FieldValue::Kind::Number, s.real(col), {}};
    default: return {FieldValue::Kind::Text, 0, s.text(col)};
    }
}

FieldValue ValueOfText(const std::string& text) { return {FieldValue::Kind::Text, 0, text}; }

} // namespace

ChannelTable::ChannelTable(std::string path) : path_(std::move(path)) {
    for (int r = 0; r < ChannelRows; ++r) rows_[static_cast<size_t>(r)][0] = {FieldValue::Kind::Number, double(r + 1), {}};
    open();
}

void ChannelTable::open() {
    try {
        db_ = Database::openExisting(path_);
        for (int col = 1; col < 6; ++col)
            update_[col].emplace(db_->prepare(std::string("UPDATE tblChannel SET \"") + ChannelFields[col] + "\" = ?1 WHERE rowid = ?2"));
        load();
    } catch (const SqliteError& e) {
        for (auto& u : update_) u.reset();
        db_.reset();
        error_ = e.what();
    }
}

void ChannelTable::load() {
    Statement select = db_->prepare("SELECT rowid, " + FieldList(0) + " FROM tblChannel ORDER BY rowid");
    int r = 0;
    while (r < ChannelRows && select.step()) {
        rowids_[static_cast<size_t>(r)] = select.integer(0);
        for (int col = 0; col < 6; ++col) rows_[static_cast<size_t>(r)][static_cast<size_t>(col)] = ValueOf(select, col + 1);
        ++r;
    }
    if (r < ChannelRows) throw SqliteError("tblChannel holds " + std::to_string(r) + " records instead of 16");
}

void ChannelTable::refresh() {
    if (!db_) return;
    try {
        load();
    } catch (const SqliteError& e) {
        error_ = e.what();
    }
}

void ChannelTable::setField(int row, int col, const std::string& text) {
    if (row < 0 || row >= ChannelRows || col < 1 || col >= 6) return;
    rows_[static_cast<size_t>(row)][static_cast<size_t>(col)] = ValueOfText(text);
    if (!db_) return;
    try {
        Statement& u = *update_[col];
        BindField(u, 1, text);
        u.bind(2, rowids_[static_cast<size_t>(row)]);
        u.run();
    } catch (const SqliteError& e) {
        update_[col]->reset();
        error_ = e.what();
    }
}

void ChannelTable::begin() {
    if (batchDepth_++ > 0 || !db_) return;
    try {
        transaction_ = std::make_unique<Transaction>(*db_);
    } catch (const SqliteError& e) {
        error_ = e.what();
    }
}

void ChannelTable::end() {
    if (--batchDepth_ > 0 || !transaction_) return;
    try {
        transaction_->commit();
    } catch (const SqliteError& e) {
        error_ = e.what();
    }
    transaction_.reset();
}

ChannelTable::Batch::Batch(ChannelTable& table) : table_(table) { table_.begin(); }
ChannelTable::Batch::~Batch() { table_.end(); }

} // namespace vktstore
