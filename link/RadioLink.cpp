// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/RadioLink.h"

#include "core/MemoryMap.h"
#include "link/Protocol.h"
#include "core/Text.h"

namespace VKTCom {

using vkt::Answer;
using vkt::Buttons;
using vkt::Icon;
using namespace Protocol;

namespace {

constexpr double ReadEETimeout = 0.5;
constexpr double WriteEETimeout = 0.25;
constexpr int FastIdentityWord = 10922;  // 2AAA

} // namespace

std::string AddressText(int page, int offset) { return "0x" + vkt::Hex2(static_cast<unsigned>(page)) + vkt::Hex2(static_cast<unsigned>(offset)); }

std::string LineSettings(int code) {
    switch (code) {
    case 1: return "9600,n,8,1";
    case 2: return "19200,n,8,1";
    case 3: return "38400,n,8,1";
    default: return "4800,n,8,1";
    }
}

RadioLink::RadioLink(vkt::Platform& platform) : platform_(platform) {}

void RadioLink::InitLinkParameters() {
    HookAck = 18;
    LinkTimeout = 0.5;
    LinkRetries = 3;
    // Exactly the bits of the unit-wide settings; never the alignment values.
    for (size_t i = 0; i < GlobalWriteMask.size(); ++i) GlobalWriteMask[i] = VKTCore::UnitWideBits(static_cast<int>(i));
}

void RadioLink::send(std::initializer_list<int> bytes) {
    for (int b : bytes) Comm().writeByte(static_cast<uint8_t>(b));
}

RadioLink::WaitResult RadioLink::poll(int count, Deadline d, const std::function<bool()>& cancelled) {
    for (;;) {
        platform_.WaitForEvents(d.seconds - (platform_.Timer() - d.start));
        if (whileWaiting) whileWaiting();
        if (cancelled && cancelled()) return WaitResult::Cancelled;
        if (Comm().inBufferCount() >= count) return WaitResult::Arrived;
        if (passed(d)) return WaitResult::TimedOut;
    }
}

RadioLink::WaitResult RadioLink::awaitBytes(int count, Deadline d, const std::string& what,
                                            const std::function<bool()>& cancelled) {
    const WaitResult result = poll(count, d, cancelled);
    if (result == WaitResult::Cancelled) {
        setFailure(what + ": cancelled");
        note("cancelled: " + what);
    } else if (result == WaitResult::TimedOut) {
        const std::string seconds = vkt::NumberText(d.seconds);
        setFailure(what + " after " + (seconds[0] == '.' ? "0" + seconds : seconds) + " s");
        note("time-out: " + LastFailure);
    }
    return result;
}

bool RadioLink::staysQuiet(Deadline d, const std::string& what) {
    if (poll(1, d, {}) == WaitResult::TimedOut) return true;
    failed(what);
    return false;
}

bool RadioLink::byteBefore(Deadline d) { return poll(1, d, {}) == WaitResult::Arrived && !passed(d); }

bool RadioLink::WaitForByte(int& value, const std::string& what) {
    if (awaitBytes(1, deadline(LinkTimeout), what) != WaitResult::Arrived) return false;
    value = Comm().readByte();
    return true;
}

int RadioLink::ReplyByteValue(const std::string& text) {
    return text.empty() ? 0 : static_cast<unsigned char>(text[0]);
}

// A radio out of programming mode listens at the hook's speed, whatever
// the port was set to in its last session.
bool RadioLink::openAtHookSpeed() {
    Comm().setSettings(LineSettings(0));
    return Comm().open();
}

// A port that cannot be opened is not a silent radio: say why at once.
bool RadioLink::openPort() {
    for (;;) {
        if (openAtHookSpeed()) return true;
        setFailure("port: " + Comm().openError());
        platform_.MsgBox(Comm().openError(), Buttons::OK, Icon::Exclamation, CommErrorTitle);
        if (platform_.MsgBox(HookPromptText, Buttons::RetryCancel, Icon::None, CommErrorTitle) != Answer::Retry) {
            HookCancelled = true;
            return false;
        }
    }
}

bool RadioLink::HookRadio() {
    LastFailure.clear();
    HookCancelled = false;
    if (!Comm().isOpen() && !openPort()) {
        RadioHooked = false;
        return false;
    }
    Comm().setSettings(LineSettings(0));
    RadioHooked = false;

    for (;;) {
        int reply = -1;
        int attempts = 0;
        while (reply < 0) {
            note("hook attempt " + std::to_string(attempts + 1));
            for (int i = 0; i < HookZeros; ++i) send({0});
            Comm().discardInput();
            for (uint8_t b : HookSequence) send({b});
            // A read that gives nothing goes on waiting within the same time-out.
            const Deadline d = deadline(LinkTimeout);
            bool timedOut = false;
            while (reply < 0 && !timedOut) {
                timedOut = awaitBytes(1, d, "hook: no answer") != WaitResult::Arrived;
                if (!timedOut) reply = Comm().readByte();
            }
            if (timedOut && ++attempts > LinkRetries) break;
        }
        if (reply >= 0 && reply != HookAck) failed("hook: wrong answer " + std::to_string(reply));
        if (reply == HookAck) {
            RadioHooked = true;
            ReadRadioInfo();
            FastRadio = RadioInfo[0] * 256 + RadioInfo[1] >= FastIdentityWord;
            if (FastRadio && UseFastLink) SetLinkSpeed(1);
            return true;
        }
        if (platform_.MsgBox(HookPromptText, Buttons::RetryCancel, Icon::None, CommErrorTitle) != Answer::Retry) {
            HookCancelled = true;
            // A radio that heard the wake-up but not its answer may sit in
            // programming mode: let it go, whoever asked for the hook.
            UnhookRadio();
            return false;
        }
        note("retry");
    }
}

void RadioLink::ReadRadioInfo() {
    for (size_t i = 0; i < RadioInfo.size(); ++i) {
        RadioInfo[i] = 0;
        send({i == 0 ? IdentityQuery : 0});
        int b = 0;
        if (WaitForByte(b, "identity byte " + std::to_string(i + 1) + " missing")) RadioInfo[i] = static_cast<uint8_t>(b);
    }
}

bool RadioLink::SetLinkSpeed(int code) {
    const std::string settings = LineSettings(code);
    send({SpeedChange, code});
    int b = 0;
    if (WaitForByte(b, "speed change: no answer") && b == 1) {
        Comm().setSettings(settings);
        return true;
    }
    return false;
}

void RadioLink::UnhookRadio() {
    if (Comm().isOpen() || openAtHookSpeed()) {
        send({Release});
        Comm().close();
    }
    RadioHooked = false;
}

void RadioLink::ClosePort() {
    if (Comm().isOpen()) Comm().close();
}

void RadioLink::ShowHookError() {
    platform_.MsgBox(HookErrorText, Buttons::OK, Icon::Exclamation, CommErrorTitle);
}

bool RadioLink::AskHookRetry() {
    return platform_.MsgBox(HookErrorText, Buttons::RetryCancel, Icon::Exclamation, CommErrorTitle, true) !=
           Answer::Cancel;
}

bool RadioLink::ReadEEByte(int page, int offset, int& value) {
    value = 0;
    if (!RadioHooked) return false;
    send({ReadByte, page});
    // Whatever arrived before this command is not its answer.
    Comm().discardInput();
    const Deadline d = deadline(ReadEETimeout);
    send({offset});
    if (awaitBytes(1, d, "byte read " + AddressText(page, offset) + ": no answer") == WaitResult::Arrived) {
        value = Comm().readByte();
        return true;
    }
    UnhookRadio();
    platform_.MsgBox(ReadEEByteError, Buttons::OK, Icon::Exclamation, CommErrorTitle, true);
    return false;
}

bool RadioLink::WriteEEByte(int page, int offset, int mask, int value) {
    if (!RadioHooked) return false;
    Comm().discardInput();
    send({WriteByte, page, offset, mask, value});
    // Anything but the acknowledgement is dropped while the time-out runs.
    const Deadline d = deadline(WriteEETimeout);
    while (awaitBytes(1, d, "byte write " + AddressText(page, offset) + ": no acknowledgement") == WaitResult::Arrived)
        if (Comm().readByte() == 1) return true;
    UnhookRadio();
    platform_.MsgBox(WriteEEByteError, Buttons::OK, Icon::Exclamation, CommErrorTitle, true);
    return false;
}

void RadioLink::usePort(int n, CommPortMenu menu) {
    ClosePort();
    Comm().setPortNumber(n);
    for (size_t i = 0; i < menu.ports.size(); ++i) menu.ports[i].setChecked(static_cast<int>(i) + 1 == n);
    menu.emulated.setChecked(n == vkt::EmulatedPort);
}

void RadioLink::SelectCommPort(int n, CommPortMenu menu) {
    usePort(n, menu);
    // Once a Comm Port was picked, the emulator never stands in by itself.
    platform_.SaveSetting(vkt::SettingsApp, "Comm", "Emulated", n == vkt::EmulatedPort ? "1" : "0");
    if (n != vkt::EmulatedPort) platform_.SaveSetting(vkt::SettingsApp, "Comm", "Port", std::to_string(n));
}

int RadioLink::StoredCommPort() {
    const std::string text = platform_.GetSetting(vkt::SettingsApp, "Comm", "Port", "1");
    const double n = vkt::Val(text);
    return vkt::IsNumeric(text) && n == static_cast<int>(n) && n >= 1 && n <= 4 ? static_cast<int>(n) : 1;
}

void RadioLink::ApplyCommPortSetting(CommPortMenu menu, bool emulatorByDefault) {
    const std::string emulated = platform_.GetSetting(vkt::SettingsApp, "Comm", "Emulated", "");
    const bool neverChosen = emulated.empty() && platform_.GetSetting(vkt::SettingsApp, "Comm", "Port", "").empty();
    usePort(emulated == "1" || (neverChosen && emulatorByDefault) ? vkt::EmulatedPort : StoredCommPort(), menu);
}

} // namespace VKTCom
