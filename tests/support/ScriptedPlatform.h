// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The platform of the tests: a virtual clock that DoEvents and Sleep move,
// message boxes recorded and answered from a script, an in-memory clipboard,
// settings, file dialogs and printer. A box nobody scripted fails the test.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Platform.h"
#include "platform/PrintDocument.h"
#include "sim/VirtualClock.h"

namespace vkttest {

struct ShownBox {
    std::string text;
    vkt::Buttons buttons;
    vkt::Icon icon;
    std::string title;
    bool systemModal;
    vkt::Answer answer;
    double time;
    std::string details;
};

class ScriptedPlatform : public vkt::Platform {
public:
    explicit ScriptedPlatform(vktsim::VirtualClock& clock) : clock_(clock) {}

    // Script the answer to the next box; an empty text matches any box.
    void answer(vkt::Answer a, std::string expectedText = {});
    // When set, boxes beyond the script get this answer instead of failing.
    std::optional<vkt::Answer> otherwise;
    // Runs on every DoEvents pass, for a click in the middle of a wait.
    std::function<void()> onEvents;
    // Runs after each box is answered, for what the user does next.
    std::function<void(const ShownBox&)> onBox;
    void setSerialPort(vkt::SerialPort& port) { port_ = &port; }

    std::vector<ShownBox> boxes;
    int beeps = 0;
    std::string clipboard;
    std::map<std::tuple<std::string, std::string, std::string>, std::string> settings;
    std::deque<std::optional<std::string>> dialogAnswers;  // nothing = cancelled
    std::vector<vkt::FileDialogRequest> dialogs;
    vkt::DocumentPrinter printerLog;

    void expectNoMoreScript() const;

    vkt::Answer MsgBox(const std::string& text, vkt::Buttons buttons, vkt::Icon icon, const std::string& title, bool systemModal) override {
        return show({text, buttons, icon, title, systemModal, {}, 0, {}});
    }
    vkt::Answer MsgBoxWithDetails(const std::string& text, const std::string& details, vkt::Buttons buttons, vkt::Icon icon,
                                  const std::string& title) override {
        return show({text, buttons, icon, title, false, {}, 0, details});
    }
    void Beep() override { ++beeps; }
    void DoEvents() override;
    double Timer() override { return clock_.now(); }
    void Sleep(int ms) override { clock_.advance(ms / 1000.0); }
    void ClipboardClear() override { clipboard.clear(); }
    void ClipboardSetText(const std::string& text) override { clipboard = text; }
    std::string ClipboardGetText() override { return clipboard; }
    std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                           const std::string& def) override {
        const auto it = settings.find({app, section, key});
        return it == settings.end() ? def : it->second;
    }
    void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override {
        settings[{app, section, key}] = value;
    }
    std::optional<std::string> FileDialog(const vkt::FileDialogRequest& request) override;
    vkt::Printer& printer() override { return printerLog; }
    bool PrinterSetup() override { return false; }
    void ShowHelp() override {}
    bool StartSystemInformation() override { return false; }
    vkt::SerialPort& serialPort() override;

private:
    vkt::Answer show(ShownBox box);

    vktsim::VirtualClock& clock_;
    vkt::SerialPort* port_ = nullptr;
    std::deque<std::pair<vkt::Answer, std::string>> script_;
};

} // namespace vkttest
