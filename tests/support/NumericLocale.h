// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The C library's numbers as a locale has them, for as long as this lives.

#include <clocale>
#include <string>

// A German user's locale, whose decimal mark is a comma.
inline constexpr const char* CommaLocale = "de_DE.UTF-8";

class NumericLocale {
public:
    explicit NumericLocale(const char* name)
        : previous_(std::setlocale(LC_NUMERIC, nullptr)), taken_(std::setlocale(LC_NUMERIC, name) != nullptr) {}
    ~NumericLocale() { std::setlocale(LC_NUMERIC, previous_.c_str()); }
    NumericLocale(const NumericLocale&) = delete;
    NumericLocale& operator=(const NumericLocale&) = delete;
    // False where the machine has no such locale (the test then says so and skips).
    bool taken() const { return taken_; }

private:
    std::string previous_;
    bool taken_;
};
