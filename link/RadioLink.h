// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The link to the radio: the serial port, the hook that puts the radio into
// programming mode, its identity and line speed, its release, and the single
// byte EEPROM commands. Every wait lets the window system run and looks at
// the port and the clock; nothing here blocks.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Controls.h"
#include "platform/Platform.h"

namespace VKTCom {

class RadioLink {
public:
    explicit RadioLink(vkt::Platform& platform);

    void InitLinkParameters();

    bool RadioHooked = false;
    int HookAck = 18;
    double LinkTimeout = 0.5;
    int LinkRetries = 3;
    std::array<uint8_t, 4> RadioInfo{};
    bool FastRadio = false;
    bool UseFastLink = false;
    // Which bits of each page-0 byte a transfer may write to the radio.
    std::array<uint8_t, 256> GlobalWriteMask{};

    // What a wait on the radio came to.
    enum class WaitResult { Arrived, TimedOut, Cancelled };
    // A time-out counted from the moment it was taken.
    struct Deadline {
        double start;
        double seconds;
    };
    Deadline deadline(double seconds) { return {platform_.Timer(), seconds}; }
    // Past the deadline (reaching it exactly is still in time).
    bool passed(Deadline d) { return platform_.Timer() - d.start > d.seconds; }
    // Looked at on every pass of every wait, before Cancel is: how a
    // console turns an interrupt into the progress window's Cancel.
    std::function<void()> whileWaiting;
    // Waits until `count` received bytes are waiting, the deadline has passed
    // (reaching it exactly is still in time) or `cancelled` says so. The one
    // wait on the radio: only it lets the window system run, looks at the
    // clock and at Cancel, and notes in the trace why a wait ended without
    // its bytes. `what` names what is awaited ("block 41: byte 7 missing").
    WaitResult awaitBytes(int count, Deadline deadline, const std::string& what,
                          const std::function<bool()>& cancelled = {});
    // True when no byte arrives before the deadline. A byte that does is
    // noted as `what` ("a 33rd byte after block 41") and becomes LastFailure.
    bool staysQuiet(Deadline deadline, const std::string& what);
    // Whether a byte arrives before the deadline. A wait that woke late
    // finds the byte either way and cannot say when it came, so a byte seen
    // then counts as not before; nothing is noted.
    bool byteBefore(Deadline deadline);
    // Where the last conversation with the radio failed, in words, for the
    // trace, the command line and the status bar; the message boxes keep
    // their fixed texts.
    std::string LastFailure;
    // When LastFailure came (the platform's timer), so that the time a
    // failed transfer took leaves out the time its error box stayed open.
    double LastFailureAt = 0;
    // The technician answered Cancel when the radio could not be reached.
    bool HookCancelled = false;

    // One byte within LinkTimeout.
    bool WaitForByte(int& value, const std::string& what = "answer missing");
    static int ReplyByteValue(const std::string& text);
    bool HookRadio();
    void ReadRadioInfo();
    bool SetLinkSpeed(int code);
    void UnhookRadio();
    void ClosePort();
    void ShowHookError();
    bool AskHookRetry();

    bool ReadEEByte(int page, int offset, int& value);
    bool WriteEEByte(int page, int offset, int mask, int value);

    // The "Use Comm Port n" items, n = 1 ... 4 at index n - 1, and the
    // "Emulated Radio" item: the one that stands for the port in use is checked.
    struct CommPortMenu {
        std::array<vkt::MenuItem, 4>& ports;
        vkt::MenuItem& emulated;
    };
    // n = 1 ... 4, or vkt::EmulatedPort; the choice is remembered.
    void SelectCommPort(int n, CommPortMenu menu);
    // The port chosen at start-up: the emulated radio when it was chosen
    // last, or when no port was ever chosen and emulatorByDefault (no cable
    // at hand); else the stored port (1 ... 4; anything else counts as 1).
    void ApplyCommPortSetting(CommPortMenu menu, bool emulatorByDefault = false);
    int StoredCommPort();
    bool Emulated() { return Comm().portNumber() == vkt::EmulatedPort; }

    vkt::SerialPort& Comm() { return platform_.serialPort(); }

    // Told of hook attempts, time-outs and retries, for the serial trace.
    std::function<void(const std::string&)> onNote;
    void note(const std::string& text) { if (onNote) onNote(text); }
    // Where the conversation failed: kept as LastFailure and noted in the trace.
    void failed(const std::string& why) {
        setFailure(why);
        note(why);
    }
    vkt::Platform& platform() { return platform_; }

    static constexpr const char* HookErrorText =
        "Unable to 'Hook' radio.  Please check all connections and try again.";
    static constexpr const char* HookPromptText = "Error Hooking to Radio.";
    static constexpr const char* CommErrorTitle = "COMM ERROR";
    static constexpr const char* ReadEEByteError = "A COMM ERROR occurred in sub routine 'ReadEEByte'.      ";
    static constexpr const char* WriteEEByteError = "A COMM ERROR occurred in sub routine 'WriteEEByte'.      ";

private:
    void setFailure(const std::string& why) {
        LastFailure = why;
        LastFailureAt = platform_.Timer();
    }
    WaitResult poll(int count, Deadline deadline, const std::function<bool()>& cancelled);
    bool openAtHookSpeed();
    bool openPort();
    void send(std::initializer_list<int> bytes);
    void usePort(int n, CommPortMenu menu);

    vkt::Platform& platform_;
};

// The settings string of a speed code ("4800,n,8,1" for 0).
std::string LineSettings(int code);
// An EEPROM address as the trace shows it: "0x0080".
std::string AddressText(int page, int offset);

} // namespace VKTCom
