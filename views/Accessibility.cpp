// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

namespace vktviews {

namespace {

// A list says its name, and its shown entry as its value. Qt's own list on
// Linux says the shown entry as its name, so "Tx Time Out Timer" would be
// read out as "OFF".
class AccessibleList : public QAccessibleWidget {
public:
    explicit AccessibleList(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }

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
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("QComboBox")) return new AccessibleList(static_cast<QComboBox*>(object));
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

void InstallAccessibleNames() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

} // namespace vktviews
