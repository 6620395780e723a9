// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio behind the "Emulated Radio" item. On Linux it is vkt-radio-sim
// on a pseudo-terminal of its own, the real serial path end to end; Windows
// has no pseudo-terminal, so there the radio runs inside the editor on the
// wall clock. Each system's half is in its own file (EmulatedRadioPosix.cpp,
// EmulatedRadioWindows.cpp).

#include <QString>

#include <memory>
#include <string>

namespace vktqt {
class QtPlatform;
}

class EmulatedRadio {
public:
    virtual ~EmulatedRadio() = default;
    // Starts the radio unless it runs, and points the emulated port at it.
    virtual void start() = 0;
};

// The radio keeps its memory in emulated-radio.eeprom in the data folder.
std::unique_ptr<EmulatedRadio> MakeEmulatedRadio(vktqt::QtPlatform& platform, const QString& dataFolder);

// Emulated radios for practice in the fleet window, each on a pseudo-terminal
// of its own so that a copy of vkt can open it like a cable. Windows has no
// pseudo-terminal, and so none of them: nullptr there.
class PracticeRadios {
public:
    virtual ~PracticeRadios() = default;
    // Starts one keeping its memory in memoryFile: its device, or "" and why.
    virtual std::string start(const std::string& memoryFile, std::string& why) = 0;
};

std::unique_ptr<PracticeRadios> MakePracticeRadios();
