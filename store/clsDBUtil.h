// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Copies the channel rows between the current and the last-screen databases
// and fills the current rows with the default or the blank pattern. One
// instance per command; each operation is one transaction and reports its own
// failure with SQLite's message.

#include <optional>
#include <string>

#include "platform/Grid.h"
#include "platform/Platform.h"
#include "store/Sqlite.h"

namespace vktstore {

class clsDBUtil {
public:
    // Opens both databases. grid: the main window's grid, whose 16th row is
    // copied as it stands (an edit in it may not be stored yet).
    clsDBUtil(vkt::Platform& platform, const vkt::Grid* grid);

    void currentToLast();
    void lastToCurrent();
    void setDefault();
    void setBlank();

    static constexpr const char* OpenError = "Open Database Error = ";
    static constexpr const char* CurrentToLastError = "Current to Last Error = ";
    static constexpr const char* LastToCurrentError = "Last to Current Error = ";
    static constexpr const char* SetDefaultError = "Set Default DB Error = ";
    static constexpr const char* SetBlankError = "Set Balnk DB Error = ";

private:
    Database& current();
    Database& last();
    void copy(Database& from, Database& to, bool lastRowFromGrid);
    void fill(bool withFrequencies);
    template <class F> void attempt(const char* prefix, F&& body);

    vkt::Platform& platform_;
    const vkt::Grid* grid_;
    std::optional<Database> current_;
    std::optional<Database> last_;
    std::string currentError_;
    std::string lastError_;
};

} // namespace vktstore
