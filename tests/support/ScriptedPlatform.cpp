// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/ScriptedPlatform.h"

#include <gtest/gtest.h>

namespace vkttest {

using vkt::Answer;
using vkt::Buttons;

namespace {

// The answer a dismissed box gives: its cancelling button.
Answer CancelOf(Buttons b) {
    switch (b) {
    case Buttons::OK: return Answer::OK;
    case Buttons::YesNo: return Answer::No;
    default: return Answer::Cancel;
    }
}

bool Offers(Buttons b, Answer a) {
    switch (b) {
    case Buttons::OK: return a == Answer::OK;
    case Buttons::OKCancel: return a == Answer::OK || a == Answer::Cancel;
    case Buttons::YesNo: return a == Answer::Yes || a == Answer::No;
    case Buttons::YesNoCancel: return a == Answer::Yes || a == Answer::No || a == Answer::Cancel;
    case Buttons::RetryCancel: return a == Answer::Retry || a == Answer::Cancel;
    }
    return false;
}

} // namespace

void ScriptedPlatform::answer(Answer a, std::string expectedText) { script_.emplace_back(a, std::move(expectedText)); }

void ScriptedPlatform::expectNoMoreScript() const { EXPECT_TRUE(script_.empty()) << script_.size() << " scripted answers were never asked for"; }

Answer ScriptedPlatform::show(ShownBox box) {
    const std::string& text = box.text;
    const Buttons buttons = box.buttons;
    Answer a = CancelOf(buttons);
    if (!script_.empty()) {
        auto [scripted, expected] = script_.front();
        script_.pop_front();
        if (!expected.empty()) { EXPECT_EQ(text, expected) << "message box text"; }
        EXPECT_TRUE(Offers(buttons, scripted)) << "the box \"" << text << "\" has no such button";
        a = scripted;
    } else if (otherwise) {
        a = Offers(buttons, *otherwise) ? *otherwise : CancelOf(buttons);
    } else {
        ADD_FAILURE() << "unexpected message box: \"" << text << "\" (" << box.title << ")";
    }
    box.answer = a;
    box.time = clock_.now();
    boxes.push_back(std::move(box));
    if (onBox) onBox(boxes.back());
    return a;
}

void ScriptedPlatform::DoEvents() {
    clock_.advance(0.001);  // one pass in virtual time
    if (onEvents) onEvents();
}

std::optional<std::string> ScriptedPlatform::FileDialog(const vkt::FileDialogRequest& request) {
    dialogs.push_back(request);
    if (dialogAnswers.empty()) {
        ADD_FAILURE() << "unexpected file dialog";
        return std::nullopt;
    }
    auto a = dialogAnswers.front();
    dialogAnswers.pop_front();
    return a;
}

vkt::SerialPort& ScriptedPlatform::serialPort() {
    if (!port_) throw std::logic_error("the test gave the platform no serial port");
    return *port_;
}

} // namespace vkttest
