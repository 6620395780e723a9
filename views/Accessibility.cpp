// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTabBar>

namespace vktviews {

namespace {

// A list says its name, and its shown entry as its value. Qt's own list on
// Linux says the shown entry as its name, so "Tx Time Out Timer" would be
// read out as "OFF". The bus carries no text value of a list's own: the
// shown entry of a list that cannot be typed in goes out as the list's
// read-only text, which a screen reader says after the name and again,
// changed, when an arrow key picks another entry.
class AccessibleList : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleList(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox), shown_(box->currentText()) {
        QObject::connect(box, &QComboBox::currentTextChanged, box, [box](const QString&) {
            if (!QAccessible::isActive() || box->isEditable()) return;
            auto* list = static_cast<AccessibleList*>(QAccessible::queryAccessibleInterface(box));
            QAccessibleTextUpdateEvent changed(box, 0, list->shown_, box->currentText());
            list->shown_ = box->currentText();
            QAccessible::updateAccessibility(&changed);
        });
    }
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface && !box()->isEditable()) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // The shown entry as text: read only, no cursor, nothing selected.
    QString text(int start, int end) const override { return box()->currentText().mid(start, end < 0 ? -1 : end - start); }
    int characterCount() const override { return int(box()->currentText().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return rect(); }
    int offsetAtPoint(const QPoint&) const override { return 0; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return box()->isEditable() ? box()->lineEdit()->text() : box()->currentText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = box()->isEditable();
        s.expandable = true;
        s.expanded = box()->view() && box()->view()->isVisible();
        return s;
    }
    QStringList actionNames() const override { return QStringList{showMenuAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& name) override {
        if (name == showMenuAction() || name == pressAction()) box()->showPopup();
        else QAccessibleWidget::doAction(name);
    }

private:
    QString shown_;
};

// A tab of a tab list: its text, whether it is the one shown, and a press
// that shows it.
class AccessibleTab : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    AccessibleTab(QTabBar* bar, int index) : bar_(bar), index_(index) {}
    int index() const { return index_; }

    bool isValid() const override { return bar_ && index_ < bar_->count(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return bar_ ? QAccessible::queryAccessibleInterface(bar_) : nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override { return t == QAccessible::Name && isValid() ? SpokenName(bar_->tabText(index_)) : QString(); }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = s.focusable = true;
        s.selected = bar_->currentIndex() == index_;
        s.focused = s.selected && bar_->hasFocus();
        s.disabled = !bar_->isEnabled() || !bar_->isTabEnabled(index_);
        s.invisible = !bar_->isVisible() || !bar_->isTabVisible(index_);
        return s;
    }
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = bar_->tabRect(index_);
        return {bar_->mapToGlobal(r.topLeft()), r.size()};
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && bar_->isEnabled()) bar_->setCurrentIndex(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QTabBar> bar_;
    int index_;
};

// Qt's own tab list says its shown tab as its name, whatever name it was
// given: "TX Power, page tab list". This one says what the tabs choose.
class AccessibleTabList : public QAccessibleWidget {
public:
    explicit AccessibleTabList(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    ~AccessibleTabList() override {
        for (const QAccessible::Id id : std::as_const(tabs_)) QAccessible::deleteAccessibleInterface(id);
    }
    QTabBar* bar() const { return static_cast<QTabBar*>(widget()); }

    int childCount() const override { return bar()->count(); }
    QAccessibleInterface* child(int i) const override {
        if (i < 0 || i >= bar()->count()) return nullptr;
        if (!tabs_.contains(i)) tabs_.insert(i, QAccessible::registerAccessibleInterface(new AccessibleTab(bar(), i)));
        return QAccessible::accessibleInterface(tabs_.value(i));
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        for (auto it = tabs_.cbegin(); it != tabs_.cend(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == c) return it.key();
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override { return child(bar()->tabAt(bar()->mapFromGlobal(QPoint(x, y)))); }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && bar()->accessibleName().isEmpty() && bar()->currentIndex() >= 0)
            return SpokenName(bar()->tabText(bar()->currentIndex()));
        return QAccessibleWidget::text(t);
    }

private:
    mutable QHash<int, QAccessible::Id> tabs_;
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("QComboBox")) return new AccessibleList(static_cast<QComboBox*>(object));
    if (className == QLatin1String("QTabBar")) return new AccessibleTabList(static_cast<QTabBar*>(object));
    // The windows made of a plain widget (global parameters, tuning, help)
    // would otherwise report themselves as a filler.
    auto* w = qobject_cast<QWidget*>(object);
    if (className == QLatin1String("QWidget") && w && w->isWindow()) return new QAccessibleWidget(w, QAccessible::Window);
    return nullptr;
}

} // namespace

QString SpokenName(const QString& caption) {
    QString name = caption;
    name.remove(QRegularExpression("&(?!&)"));
    name = name.simplified();
    if (name.endsWith(':')) name.chop(1);
    return name;
}

void NameByLabel(QLabel* label, QWidget* control) {
    label->setBuddy(control);
    NameControl(control, label->text());
}

void NameControl(QWidget* control, const QString& name) {
    control->setAccessibleName(SpokenName(name));
    if (auto* box = qobject_cast<QComboBox*>(control); box && box->lineEdit()) box->lineEdit()->setAccessibleName(SpokenName(name));
}

void Announce(QLabel* statusLine) {
    QAccessibleEvent said(statusLine, QAccessible::Alert);
    QAccessible::updateAccessibility(&said);
}

void InstallAccessibleNames() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

} // namespace vktviews
