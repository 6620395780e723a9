// SPDX-License-Identifier: GPL-3.0-or-later
// The test programs without Qt take the user's locale, as Qt's application
// object makes the programs do, so that a run under a German one meets its comma.

#include <clocale>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
