// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The channel rows the main window's grid is bound to: tblChannel of the
// current database, cached in memory and written through on every change.
// When the database cannot be used the rows live in memory only and error()
// says why; the editor keeps working on the image.

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "store/ChannelFields.h"
#include "store/Sqlite.h"

namespace vktstore {

struct FieldValue {
    enum class Kind { Null, Number, Text } kind = Kind::Null;
    double number = 0;
    std::string text;
    bool operator==(const FieldValue&) const = default;
};

class ChannelTable {
public:
    explicit ChannelTable(std::string path);

    const FieldValue& value(int row, int col) const { return rows_.at(static_cast<size_t>(row)).at(static_cast<size_t>(col)); }
    // Stores a grid text in a field (column 1 ... 5); CHAN is never written.
    void setField(int row, int col, const std::string& text);
    // Reads every row again (after another connection changed them).
    void refresh();

    // Groups many field writes into one transaction.
    class Batch {
    public:
        explicit Batch(ChannelTable& table);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
    private:
        ChannelTable& table_;
    };

    bool connected() const { return db_.has_value(); }
    // The last database error, "" when none.
    const std::string& error() const { return error_; }
    void clearError() { error_.clear(); }

private:
    void open();
    void load();
    void begin();
    void end();

    std::string path_;
    std::optional<Database> db_;
    std::optional<Statement> update_[6];
    std::array<int64_t, ChannelRows> rowids_{};
    std::array<std::array<FieldValue, 6>, ChannelRows> rows_{};
    int batchDepth_ = 0;
    std::unique_ptr<Transaction> transaction_;
    std::string error_;
};

} // namespace vktstore
