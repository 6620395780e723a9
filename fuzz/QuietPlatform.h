// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A platform for the fuzz targets: every box is answered Cancel at once,
// time moves only when told to, and a serial port answers what it is given.

#include <deque>

#include "platform/Platform.h"
#include "platform/PrintDocument.h"

class ScriptedSerialPort : public vkt::SerialPort {
public:
    std::deque<uint8_t> answers;  // handed out one at a time, as if received
    void setPortNumber(int n) override { port_ = n; }
    int portNumber() const override { return port_; }
    void setSettings(const std::string& s) override { settings_ = s; }
    std::string settings() const override { return settings_; }
    bool open() override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    std::string openError() const override { return {}; }
    void writeByte(uint8_t) override { ++written; }
    int inBufferCount() override { return answers.empty() ? 0 : 1; }
    void discardInput() override {}
    int readByte() override {
        if (answers.empty()) return -1;
        const int b = answers.front();
        answers.pop_front();
        return b;
    }
    std::vector<uint8_t> readAll() override {
        std::vector<uint8_t> all(answers.begin(), answers.end());
        answers.clear();
        return all;
    }
    int written = 0;

private:
    int port_ = 1;
    std::string settings_;
    bool open_ = false;
};

class QuietPlatform : public vkt::Platform {
public:
    vkt::Answer MsgBox(const std::string&, vkt::Buttons b, vkt::Icon, const std::string&, bool) override {
        ++boxes;
        return b == vkt::Buttons::OK ? vkt::Answer::OK : b == vkt::Buttons::YesNo ? vkt::Answer::No : vkt::Answer::Cancel;
    }
    void Beep() override {}
    void DoEvents() override { now += 0.001; }
    double Timer() override { return now; }
    void Sleep(int ms) override { now += ms / 1000.0; }
    void ClipboardClear() override { clip.clear(); }
    void ClipboardSetText(const std::string& t) override { clip = t; }
    std::string ClipboardGetText() override { return clip; }
    std::string GetSetting(const std::string&, const std::string&, const std::string&, const std::string& d) override { return d; }
    void SaveSetting(const std::string&, const std::string&, const std::string&, const std::string&) override {}
    std::optional<std::string> FileDialog(const vkt::FileDialogRequest&) override { return std::nullopt; }
    vkt::Printer& printer() override { return printer_; }
    bool PrinterSetup() override { return false; }
    void ShowHelp() override {}
    bool StartSystemInformation() override { return false; }
    vkt::SerialPort& serialPort() override { return port; }

    ScriptedSerialPort port;
    double now = 0;
    int boxes = 0;
    std::string clip;

private:
    vkt::DocumentPrinter printer_;
};
