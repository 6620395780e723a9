// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt platform on an emulated radio's pseudo-terminal as Comm Port 1 (or, with no device, on its own ports),
// with message boxes recorded and answered Cancel, failing the test unless boxes are expected; and the link's
// objects on it, ready for a transfer.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "link/RadioLink.h"
#include "link/Transfers.h"
#include "qt/QtPlatform.h"

class PtyPlatform : public vktqt::QtPlatform {
public:
    explicit PtyPlatform(std::string device, bool boxesExpected = false)
        : port_([device](int) { return device; }), ownPort_(!device.empty()), boxesExpected_(boxesExpected) {}
    vkt::Answer MsgBox(const std::string& text, vkt::Buttons, vkt::Icon, const std::string&, bool) override {
        if (!boxesExpected_) ADD_FAILURE() << "message box: " << text;
        boxes.push_back(text);
        return vkt::Answer::Cancel;
    }
    void WaitForEvents(double seconds) override {
        vktqt::QtPlatform::WaitForEvents(seconds);
        if (onEvents) onEvents();
    }
    vkt::SerialPort& serialPort() override { return ownPort_ ? port_ : QtPlatform::serialPort(); }
    // From now on the port stays at 4800 baud whatever it is told, as a
    // program that forgets the radio's speed change.
    void keepTheLineAt4800() { port_.stuck = true; }

    std::vector<std::string> boxes;
    std::function<void()> onEvents;

private:
    class Port : public vktqt::QtSerialPort {
    public:
        using QtSerialPort::QtSerialPort;
        bool stuck = false;
        void setSettings(const std::string& s) override { QtSerialPort::setSettings(stuck ? "4800,n,8,1" : s); }
    };
    Port port_;
    bool ownPort_;
    bool boxesExpected_;
};

struct LinkOn {
    explicit LinkOn(vkt::Platform& platform) : proc(platform, main), link(platform), transfers(link, proc) { link.InitLinkParameters(); }
    vkt::Window main{"main"};
    VKTCom::frmProc proc;
    VKTCom::RadioLink link;
    VKTCom::Transfers transfers;
};
