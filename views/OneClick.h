// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A button that starts radio work takes one click. A double click's second
// click must not become a second radio action: not on the button that started
// the work, nor on a button that the work's end put under the pointer.

#include <QObject>

#include <functional>
#include <map>

class QPushButton;

namespace vktviews {

class OneClick : public QObject {
public:
    // now: seconds on the clock the radio work runs on.
    OneClick(std::function<double()> now, QObject* owner);

    // The click handler for b: b is guarded, and the work onClick does marks
    // the start of the quiet time.
    std::function<void()> guard(QPushButton* b, std::function<void()> onClick);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    double interval() const;
    bool takesPress(quint64 stamp) const;

    std::function<double()> now_;
    // Whether each guarded button took the press its next release ends.
    std::map<QObject*, bool> pressTaken_;
    double quietUntil_ = 0;
    bool pressed_ = false;
    quint64 lastPress_ = 0;
};

} // namespace vktviews
