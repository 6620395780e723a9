// SPDX-License-Identifier: GPL-3.0-or-later
// Builds a channel database from its SQL script (run by the build to make
// the databases the program ships).

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "store/Sqlite.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-channel-db OUT.mdb SCRIPT.sql\n");
        return 2;
    }
    std::ifstream in(argv[2]);
    std::stringstream script;
    script << in.rdbuf();
    if (!in) {
        std::fprintf(stderr, "make-channel-db: cannot read %s\n", argv[2]);
        return 1;
    }
    std::error_code ec;
    std::filesystem::remove(argv[1], ec);
    try {
        vktstore::Database db = vktstore::Database::create(argv[1]);
        db.exec(script.str());
    } catch (const vktstore::SqliteError& e) {
        std::fprintf(stderr, "make-channel-db: %s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
