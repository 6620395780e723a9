// SPDX-License-Identifier: GPL-3.0-or-later
// The emulated radio on Windows, which has no pseudo-terminal: the radio runs
// inside the editor, on the wall clock, behind the emulated port.
#include "app/EmulatedRadio.h"

#include "qt/QtPlatform.h"
#include "sim/EmulatedPort.h"

namespace {

class InsideEmulatedRadio : public EmulatedRadio {
public:
    InsideEmulatedRadio(vktqt::QtPlatform& platform, QString dataFolder) : platform_(platform), data_(std::move(dataFolder)) {}
    void start() override {
        if (started_) return;
        auto port = std::make_unique<vktsim::EmulatedPort>((data_ + "/emulated-radio.eeprom").toStdString());
        // A memory file that is not the radio's is left alone, and the item
        // says the emulator could not be started.
        if (std::string why; !port->load(why)) return;
        started_ = true;
        platform_.setEmulatedPort(std::move(port));
    }

private:
    vktqt::QtPlatform& platform_;
    QString data_;
    bool started_ = false;
};

} // namespace

std::unique_ptr<EmulatedRadio> MakeEmulatedRadio(vktqt::QtPlatform& platform, const QString& dataFolder) {
    return std::make_unique<InsideEmulatedRadio>(platform, dataFolder);
}

std::unique_ptr<PracticeRadios> MakePracticeRadios() { return nullptr; }
