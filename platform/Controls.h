// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Control models: the state of one window control as the window models and the
// codecs see it. A view binds a real widget to a model through a subscription
// that ends with the widget; the models themselves know nothing of any widget
// toolkit.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vkt {

// The callbacks that show one control, by the order they came.
using WatcherList = std::map<std::uint64_t, std::shared_ptr<const std::function<void()>>>;

// Ends one watcher's interest in a control when it goes, also when the control
// went first: a window built anew on each opening leaves nothing behind in
// the models that outlive it.
class Subscription {
public:
    Subscription(std::weak_ptr<WatcherList> list, std::uint64_t id) : list_(std::move(list)), id_(id) {}
    Subscription(Subscription&&) = default;
    Subscription& operator=(Subscription&&) = delete;
    ~Subscription() {
        if (auto list = list_.lock()) list->erase(id_);
    }

private:
    std::weak_ptr<WatcherList> list_;
    std::uint64_t id_;
};

// Whoever shows a control. A copy of a control starts unwatched: its
// watchers show the original.
class Watchers {
public:
    Watchers() = default;
    Watchers(const Watchers&) {}
    Watchers& operator=(const Watchers&) { return *this; }

    [[nodiscard]] Subscription add(std::function<void()> f) {
        if (!list_) list_ = std::make_shared<WatcherList>();
        const std::uint64_t id = next_++;
        list_->emplace(id, std::make_shared<const std::function<void()>>(std::move(f)));
        return {list_, id};
    }
    size_t size() const { return list_ ? list_->size() : 0; }
    // A watcher may end others, or itself, while it is told.
    void tell() const {
        const auto list = list_;
        if (!list) return;
        for (auto it = list->begin(); it != list->end();) {
            const std::uint64_t id = it->first;
            const auto f = it->second;
            (*f)();
            it = list->upper_bound(id);
        }
    }

private:
    std::shared_ptr<WatcherList> list_;
    std::uint64_t next_ = 0;
};

class Control {
public:
    virtual ~Control() = default;

    bool Enabled() const { return enabled_; }
    void setEnabled(bool e) { if (enabled_ != e) { enabled_ = e; notify(); } }
    bool Visible() const { return visible_; }
    void setVisible(bool v) { if (visible_ != v) { visible_ = v; notify(); } }
    const std::string& ToolTip() const { return toolTip_; }
    void setToolTip(std::string t) { toolTip_ = std::move(t); notify(); }

    // Moves the keyboard focus to the control.
    void setFocus() { if (focusRequested) focusRequested(); }

    // Called after every change of the model, first the owner's callback,
    // then each watcher's in the order they came; the views repaint from it
    // through a subscription that ends with the widget.
    std::function<void()> changed;
    [[nodiscard]] Subscription subscribe(std::function<void()> f) { return watchers_.add(std::move(f)); }
    size_t subscriptions() const { return watchers_.size(); }
    std::function<void()> focusRequested;

protected:
    void notify() {
        if (changed) changed();
        watchers_.tell();
    }

private:
    bool enabled_ = true;
    bool visible_ = true;
    std::string toolTip_;
    Watchers watchers_;
};

// A control that shows a caption (label, frame, button, check box, option).
class CaptionControl : public Control {
public:
    explicit CaptionControl(std::string caption = {}) : caption_(std::move(caption)) {}
    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c) { if (caption_ != c) { caption_ = std::move(c); notify(); } }
private:
    std::string caption_;
};

using Label = CaptionControl;
using Frame = CaptionControl;
using Button = CaptionControl;

class TextBox : public Control {
public:
    explicit TextBox(std::string text = {}) : text_(std::move(text)) {}
    const std::string& Text() const { return text_; }
    void setText(std::string t) { if (text_ != t) { text_ = std::move(t); notify(); } }
    // Selection in characters, as the window models ask for it.
    int SelStart() const { return selStart_; }
    int SelLength() const { return selLength_; }
    void select(int start, int length) { selStart_ = start; selLength_ = length; notify(); }

    // What the box takes: at most MaxLength characters (0: no limit) of a
    // text Accepts allows (none: any). The view refuses other typing and
    // tells Refused.
    int MaxLength = 0;
    std::function<bool(const std::string&)> Accepts;
    std::function<void()> Refused;
private:
    std::string text_;
    int selStart_ = 0;
    int selLength_ = 0;
};

// A drop-down list: fixed items, a list index (-1: nothing chosen) and a text.
// For an editable box the text may differ from every item.
class ComboBox : public Control {
public:
    ComboBox() = default;
    explicit ComboBox(std::vector<std::string> items, std::string text = {})
        : items_(std::move(items)) { setText(std::move(text)); }

    const std::vector<std::string>& Items() const { return items_; }
    int ListCount() const { return static_cast<int>(items_.size()); }
    int ListIndex() const { return listIndex_; }
    const std::string& Text() const { return text_; }

    // Choosing an index shows its item; an index outside the list chooses nothing.
    void setListIndex(int i) {
        if (i < 0 || i >= ListCount()) { listIndex_ = -1; text_.clear(); }
        else { listIndex_ = i; text_ = items_[static_cast<size_t>(i)]; }
        notify();
    }
    // What the user typed into an editable box: it chooses no item.
    void setEditText(std::string t) {
        text_ = std::move(t);
        listIndex_ = -1;
        notify();
    }
    // Setting the text selects the matching item, if there is one.
    void setText(std::string t) {
        text_ = std::move(t);
        listIndex_ = -1;
        for (size_t i = 0; i < items_.size(); ++i)
            if (items_[i] == text_) { listIndex_ = static_cast<int>(i); break; }
        notify();
    }
private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
    std::string text_;
};

class CheckBox : public CaptionControl {
public:
    using CaptionControl::CaptionControl;
    int Value() const { return value_; }
    void setValue(int v) { if (value_ != v) { value_ = v; notify(); } }
private:
    int value_ = 0;
};

// Option buttons of one group are kept exclusive by their owner, which selects
// one and clears the others (see selectOption).
class OptionButton : public CaptionControl {
public:
    using CaptionControl::CaptionControl;
    bool Value() const { return value_; }
    void setValue(bool v) { if (value_ != v) { value_ = v; notify(); } }
private:
    bool value_ = false;
};

inline void selectOption(OptionButton& chosen, std::initializer_list<OptionButton*> group) {
    for (OptionButton* o : group) o->setValue(o == &chosen);
}

class MenuItem : public CaptionControl {
public:
    explicit MenuItem(std::string caption = {}, std::string shortcut = {})
        : CaptionControl(std::move(caption)), shortcut_(std::move(shortcut)) {}
    const std::string& Shortcut() const { return shortcut_; }
    bool Checked() const { return checked_; }
    void setChecked(bool c) { if (checked_ != c) { checked_ = c; notify(); } }
private:
    std::string shortcut_;
    bool checked_ = false;
};

// A ranged value: progress bar, scroll bar and up-down control share it.
class RangeControl : public Control {
public:
    RangeControl(int min = 0, int max = 100) : min_(min), max_(max) {}
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Value() const { return value_; }
    void setMin(int m) { min_ = m; notify(); }
    void setMax(int m) { max_ = m; notify(); }
    void setValue(int v) { if (value_ != v) { value_ = v; notify(); } }
private:
    int min_;
    int max_;
    int value_ = 0;
};

using ProgressBar = RangeControl;
using ScrollBar = RangeControl;
using UpDown = RangeControl;

class TabStrip : public Control {
public:
    explicit TabStrip(std::vector<std::string> tabs = {}) : tabs_(std::move(tabs)) {}
    const std::vector<std::string>& Tabs() const { return tabs_; }
    int SelectedIndex() const { return selected_; }
    const std::string& SelectedKey() const { return tabs_.at(static_cast<size_t>(selected_)); }
    void select(int i) { if (selected_ != i) { selected_ = i; notify(); } }
private:
    std::vector<std::string> tabs_;
    int selected_ = 0;
};

// The geometry and state of a window model; views place and show their window
// from it. Positions and sizes are in twips, as the window models compute them.
class Window : public CaptionControl {
public:
    using CaptionControl::CaptionControl;
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void move(int left, int top) { left_ = left; top_ = top; notify(); }
    void resize(int width, int height) { width_ = width; height_ = height; notify(); }
private:
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
};

} // namespace vkt
