// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/Binding.h"

#include "views/Accessibility.h"

#include <memory>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QValidator>

namespace vktviews {

QString Qs(const std::string& s) { return QString::fromStdString(s); }

namespace {

// Keeps a subscription for as long as its parent lives.
class SubscriptionOwner : public QObject {
public:
    SubscriptionOwner(QObject* parent, vkt::Subscription s) : QObject(parent), s_(std::move(s)) {}

private:
    vkt::Subscription s_;
};

} // namespace

void OnChange(QObject* owner, vkt::Control& c, Handler f) {
    f();
    new SubscriptionOwner(owner, c.subscribe(std::move(f)));
}

void BindState(QWidget* w, vkt::Control& c) {
    OnChange(w, c, [w, &c] {
        w->setEnabled(c.Enabled());
        w->setVisible(c.Visible());
        w->setToolTip(Qs(c.ToolTip()));
    });
}

void Bind(QLabel* w, vkt::Label& c) {
    BindState(w, c);
    OnChange(w, c, [w, &c] {
        const QString text = Qs(c.Caption());
        if (text == w->text()) return;
        w->setText(text);
        if (!text.isEmpty() && qobject_cast<QStatusBar*>(w->parentWidget())) Announce(w);
    });
}

void Bind(QGroupBox* w, vkt::Frame& c) {
    BindState(w, c);
    OnChange(w, c, [w, &c] { w->setTitle(Qs(c.Caption())); });
}

void Bind(QPushButton* w, vkt::Button& c, Handler onClick) {
    BindState(w, c);
    OnChange(w, c, [w, &c] { w->setText(Qs(c.Caption())); });
    QObject::connect(w, &QPushButton::clicked, w, [onClick] { if (onClick) onClick(); });
}

namespace {

// Lets through only a text its box takes.
class RuleValidator : public QValidator {
public:
    RuleValidator(const vkt::TextBox& box, QObject* parent) : QValidator(parent), box_(box) {}
    State validate(QString& input, int&) const override {
        return !box_.Accepts || box_.Accepts(input.toStdString()) ? Acceptable : Invalid;
    }

private:
    const vkt::TextBox& box_;
};

} // namespace

void Bind(QLineEdit* w, vkt::TextBox& c, Handler onEdit) {
    BindState(w, c);
    if (c.MaxLength > 0) w->setMaxLength(c.MaxLength);
    if (c.Accepts) w->setValidator(new RuleValidator(c, w));
    QObject::connect(w, &QLineEdit::inputRejected, w, [&c] { if (c.Refused) c.Refused(); });
    // What the user types is in the widget already: putting the model's
    // selection back on each key would make the next key replace it.
    auto typing = std::make_shared<bool>(false);
    OnChange(w, c, [w, &c, typing] {
        if (*typing) return;
        const QString t = Qs(c.Text());
        if (w->text() != t) {
            QSignalBlocker block(w);
            w->setText(t);
        }
        if (c.SelLength() > 0 || c.SelStart() > 0) w->setSelection(c.SelStart(), c.SelLength());
    });
    QObject::connect(w, &QLineEdit::textEdited, w, [&c, onEdit, typing](const QString& t) {
        *typing = true;
        c.setText(t.toStdString());
        *typing = false;
        if (onEdit) onEdit();
    });
}

void Bind(QComboBox* w, vkt::ComboBox& c, Handler onPick) {
    InstallAccessibleNames();
    BindState(w, c);
    {
        QSignalBlocker block(w);
        w->clear();
        for (const auto& item : c.Items()) w->addItem(Qs(item));
    }
    OnChange(w, c, [w, &c] {
        QSignalBlocker block(w);
        if (w->currentIndex() != c.ListIndex()) w->setCurrentIndex(c.ListIndex());
        if (w->isEditable() && w->currentText() != Qs(c.Text())) w->setEditText(Qs(c.Text()));
    });
    QObject::connect(w, QOverload<int>::of(&QComboBox::activated), w, [&c, onPick](int i) {
        c.setListIndex(i);
        if (onPick) onPick();
    });
    // Only the user's typing, not the text a pick puts in the box.
    if (w->isEditable())
        QObject::connect(w->lineEdit(), &QLineEdit::textEdited, w, [&c](const QString& t) { c.setEditText(t.toStdString()); });
}

void Bind(QCheckBox* w, vkt::CheckBox& c, Handler onClick) {
    BindState(w, c);
    OnChange(w, c, [w, &c] {
        QSignalBlocker block(w);
        w->setText(Qs(c.Caption()));
        w->setChecked(c.Value() != 0);
    });
    QObject::connect(w, &QCheckBox::clicked, w, [&c, onClick](bool checked) {
        c.setValue(checked ? 1 : 0);
        if (onClick) onClick();
    });
}

void Bind(QRadioButton* w, vkt::OptionButton& c, std::initializer_list<vkt::OptionButton*> group, Handler onClick) {
    BindState(w, c);
    std::vector<vkt::OptionButton*> members(group);
    OnChange(w, c, [w, &c] {
        QSignalBlocker block(w);
        w->setText(Qs(c.Caption()));
        w->setChecked(c.Value());
    });
    QObject::connect(w, &QRadioButton::clicked, w, [&c, members, onClick] {
        for (vkt::OptionButton* o : members) o->setValue(o == &c);
        if (onClick) onClick();
    });
}

void Bind(QAction* a, vkt::MenuItem& c, Handler onTrigger, MenuPlace place) {
    OnChange(a, c, [a, &c, place] {
        a->setText((place == MenuPlace::OnMenuBar ? "&" : "") + Qs(c.Caption()));
        a->setEnabled(c.Enabled());
        a->setVisible(c.Visible());
        a->setToolTip(Qs(c.ToolTip()));
        a->setCheckable(c.Checked() || a->isCheckable());
        a->setChecked(c.Checked());
    });
    if (!c.Shortcut().empty()) a->setShortcut(QKeySequence(Qs(c.Shortcut())));
    QObject::connect(a, &QAction::triggered, a, [onTrigger] { if (onTrigger) onTrigger(); });
}

void Bind(QProgressBar* w, vkt::ProgressBar& c) {
    BindState(w, c);
    // The bar moves by whole percents: a screen reader is told of each move,
    // and a move per byte of a transfer floods it with thousands.
    w->setRange(0, 100);
    OnChange(w, c, [w, &c] {
        const long long span = std::max(c.Min(), c.Max()) - c.Min();
        const long long done = std::clamp(c.Value(), c.Min(), std::max(c.Min(), c.Max())) - c.Min();
        w->setValue(span == 0 ? 0 : static_cast<int>(done * 100 / span));
    });
}

QLabel* NewLabel(QWidget* parent, vkt::Label& model) {
    auto* l = new QLabel(parent);
    Bind(l, model);
    return l;
}

QComboBox* NewCombo(QWidget* parent, vkt::ComboBox& model, const char* name, bool editable) {
    auto* c = new QComboBox(parent);
    if (name) c->setObjectName(name);
    c->setEditable(editable);
    if (editable) c->setInsertPolicy(QComboBox::NoInsert);
    Bind(c, model);
    return c;
}

QCheckBox* NewCheck(QWidget* parent, vkt::CheckBox& model, const char* name) {
    auto* c = new QCheckBox(parent);
    if (name) c->setObjectName(name);
    Bind(c, model);
    return c;
}

} // namespace vktviews
