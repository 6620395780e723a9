// SPDX-License-Identifier: GPL-3.0-or-later
// The test programs without Qt take the user's locale for the C library, as
// Qt's application object does for the programs; so the suite run under a
// German locale meets its decimal comma where a technician there would.

#include <clocale>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
