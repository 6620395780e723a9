// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>
#include <QTextDocument>

#include <algorithm>

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

// A part of a control that is no object of its own, a tab of a tab list or a
// link of a page: known by its place in the control, with no parts of its
// own, and pressed as the one thing it does.
template <class Control>
class AccessiblePart : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    AccessiblePart(Control* control, int index) : control_(control), index_(index) {}

    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return control_ ? QAccessible::queryAccessibleInterface(control_) : nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

protected:
    QPointer<Control> control_;
    const int index_;
};

// The parts of a control: made when first asked for, and gone with the
// control. A part whose place no longer exists says it is invalid.
template <class Part, class Control>
class Parts {
public:
    ~Parts() {
        for (const QAccessible::Id id : std::as_const(ids_)) QAccessible::deleteAccessibleInterface(id);
    }
    QAccessibleInterface* at(Control* control, int i, int count) {
        if (i < 0 || i >= count) return nullptr;
        if (!ids_.contains(i)) ids_.insert(i, QAccessible::registerAccessibleInterface(new Part(control, i)));
        return QAccessible::accessibleInterface(ids_.value(i));
    }
    int indexOf(const QAccessibleInterface* part) const {
        for (auto it = ids_.cbegin(); it != ids_.cend(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == part) return it.key();
        return -1;
    }

private:
    QHash<int, QAccessible::Id> ids_;
};

// A tab of a tab list: its text, whether it is the one shown, and a press
// that shows it.
class AccessibleTab : public AccessiblePart<QTabBar> {
public:
    using AccessiblePart::AccessiblePart;

    bool isValid() const override { return control_ && index_ < control_->count(); }
    QString text(QAccessible::Text t) const override { return t == QAccessible::Name && isValid() ? SpokenName(control_->tabText(index_)) : QString(); }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = s.focusable = true;
        s.selected = control_->currentIndex() == index_;
        s.focused = s.selected && control_->hasFocus();
        s.disabled = !control_->isEnabled() || !control_->isTabEnabled(index_);
        s.invisible = !control_->isVisible() || !control_->isTabVisible(index_);
        return s;
    }
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = control_->tabRect(index_);
        return {control_->mapToGlobal(r.topLeft()), r.size()};
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && control_->isEnabled()) control_->setCurrentIndex(index_);
    }
};

// Qt's own tab list says its shown tab as its name, whatever name it was
// given: "TX Power, page tab list". This one says what the tabs choose.
class AccessibleTabList : public QAccessibleWidget {
public:
    explicit AccessibleTabList(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    QTabBar* bar() const { return static_cast<QTabBar*>(widget()); }

    int childCount() const override { return bar()->count(); }
    QAccessibleInterface* child(int i) const override { return tabs_.at(bar(), i, bar()->count()); }
    int indexOfChild(const QAccessibleInterface* c) const override { return tabs_.indexOf(c); }
    QAccessibleInterface* childAt(int x, int y) const override { return child(bar()->tabAt(bar()->mapFromGlobal(QPoint(x, y)))); }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && bar()->accessibleName().isEmpty() && bar()->currentIndex() >= 0)
            return SpokenName(bar()->tabText(bar()->currentIndex()));
        return QAccessibleWidget::text(t);
    }

private:
    mutable Parts<AccessibleTab, QTabBar> tabs_;
};

// Where a page's links lie in its text, in reading order, and where they
// lead. A link set in several formats is still one link.
struct Link {
    int start, end;
    QString target;
};
QList<Link> LinksOf(const QTextDocument* page) {
    QList<Link> links;
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment part = it.fragment();
            const QString target = part.charFormat().anchorHref();
            if (target.isEmpty()) continue;
            if (!links.isEmpty() && links.last().end == part.position() && links.last().target == target) links.last().end += part.length();
            else links.append({part.position(), part.position() + part.length(), target});
        }
    return links;
}

// Whether the browser's selection is the link: how Tab shows a link chosen.
bool Chosen(const QTextBrowser* browser, const Link& link) {
    const QTextCursor at = browser->textCursor();
    return at.selectionStart() == link.start && at.selectionEnd() == link.end;
}

// Where a stretch of a page's text stands on the screen.
QRect OnScreen(const QTextBrowser* browser, int start, int end) {
    QTextCursor at(browser->document());
    at.setPosition(start);
    QRect r = browser->cursorRect(at);
    at.setPosition(end);
    // Within a line, up to the end; a stretch wrapped onto more lines, their box.
    if (const QRect last = browser->cursorRect(at); last.top() == r.top()) r.setRight(last.left());
    else r = r.united(last);
    return {browser->viewport()->mapToGlobal(r.topLeft()), r.size()};
}

// A link of a page: its words as its name, chosen when Tab has chosen it, and
// followed as Enter follows it.
class AccessibleLink : public AccessiblePart<QTextBrowser> {
public:
    using AccessiblePart::AccessiblePart;
    Link link() const { return control_ ? LinksOf(control_->document()).value(index_, {-1, -1, {}}) : Link{-1, -1, {}}; }

    bool isValid() const override { return link().start >= 0; }
    QString text(QAccessible::Text t) const override {
        const Link l = link();
        return t == QAccessible::Name && l.start >= 0 ? control_->document()->toPlainText().mid(l.start, l.end - l.start).simplified() : QString();
    }
    QAccessible::Role role() const override { return QAccessible::Link; }
    QAccessible::State state() const override {
        QAccessible::State s;
        const Link l = link();
        s.invalid = l.start < 0;
        if (s.invalid) return s;
        s.focusable = s.linked = true;
        s.focused = control_->hasFocus() && Chosen(control_, l);
        s.invisible = !control_->isVisible();
        return s;
    }
    QRect rect() const override {
        const Link l = link();
        return l.start < 0 ? QRect() : OnScreen(control_, l.start, l.end);
    }
    void doAction(const QString& name) override {
        const Link l = link();
        if (name != pressAction() || l.start < 0) return;
        QTextCursor at(control_->document());
        at.setPosition(l.start);
        at.setPosition(l.end, QTextCursor::KeepAnchor);
        control_->setTextCursor(at);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(control_, &enter);
    }
};

// A help page is read as a document: its whole text, the caret the arrow
// keys move, and its links one by one. Qt's own says a read-only page is a
// label and keeps its links to itself, so a screen reader could neither walk
// the page nor hear which link Tab had chosen.
class AccessiblePage : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessiblePage(QTextBrowser* browser) : QAccessibleWidget(browser, QAccessible::Document) {}
    QTextBrowser* browser() const { return static_cast<QTextBrowser*>(widget()); }
    QString all() const { return browser()->document()->toPlainText(); }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    int childCount() const override { return int(LinksOf(browser()->document()).size()); }
    QAccessibleInterface* child(int i) const override { return links_.at(browser(), i, childCount()); }
    int indexOfChild(const QAccessibleInterface* c) const override { return links_.indexOf(c); }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int at = offsetAtPoint({x, y});
        const QList<Link> links = LinksOf(browser()->document());
        for (int i = 0; i < links.size(); ++i)
            if (at >= links[i].start && at < links[i].end) return child(i);
        return nullptr;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = browser()->isReadOnly();
        s.multiLine = s.selectableText = true;
        // While Tab has chosen a link, the link has the focus.
        for (const Link& l : LinksOf(browser()->document())) s.focused = s.focused && !Chosen(browser(), l);
        return s;
    }

    QString text(int start, int end) const override { return all().mid(start, end < 0 ? -1 : end - start); }
    int characterCount() const override { return int(all().size()); }
    // A line is a line as laid out on the screen, not a paragraph: Down moves
    // the caret one such line, and the reader reads the line it came to.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        if (type != QAccessible::LineBoundary) return QAccessibleTextInterface::textAtOffset(offset, type, start, end);
        offset = std::clamp(offset, 0, characterCount());
        const QTextBlock block = browser()->document()->findBlock(offset);
        const QTextLine line = block.layout()->lineForTextPosition(offset - block.position());
        if (!line.isValid()) return QAccessibleTextInterface::textAtOffset(offset, type, start, end);
        *start = block.position() + line.textStart();
        // With the spaces it wrapped at, or the paragraph's line break.
        *end = std::min(*start + line.textLength() + (line.lineNumber() == block.layout()->lineCount() - 1 ? 1 : 0), characterCount());
        return text(*start, *end);
    }
    int cursorPosition() const override { return browser()->textCursor().position(); }
    void setCursorPosition(int position) override { setSelection(0, position, position); }
    void selection(int, int* start, int* end) const override {
        *start = browser()->textCursor().selectionStart();
        *end = browser()->textCursor().selectionEnd();
    }
    int selectionCount() const override { return browser()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { setCursorPosition(cursorPosition()); }
    void setSelection(int, int start, int end) override {
        QTextCursor at(browser()->document());
        at.setPosition(std::clamp(start, 0, characterCount()));
        at.setPosition(std::clamp(end, 0, characterCount()), QTextCursor::KeepAnchor);
        browser()->setTextCursor(at);
    }
    QRect characterRect(int offset) const override {
        offset = std::clamp(offset, 0, characterCount());
        return OnScreen(browser(), offset, std::min(offset + 1, characterCount()));
    }
    int offsetAtPoint(const QPoint& point) const override {
        return browser()->cursorForPosition(browser()->viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int start, int end) override {
        setSelection(0, start, end);
        browser()->ensureCursorVisible();
    }
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    mutable Parts<AccessibleLink, QTextBrowser> links_;
};

// A line of a status bar is a notification, said by a screen reader each
// time it is shown anew. A label's changed text is said only while the
// reader looks at it, and the bus carries no alert.
class AccessibleStatusLine : public QAccessibleWidget {
public:
    explicit AccessibleStatusLine(QLabel* line) : QAccessibleWidget(line, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<QLabel*>(widget())->text() : QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("QComboBox")) return new AccessibleList(static_cast<QComboBox*>(object));
    if (className == QLatin1String("QTabBar")) return new AccessibleTabList(static_cast<QTabBar*>(object));
    if (className == QLatin1String("QTextBrowser")) return new AccessiblePage(static_cast<QTextBrowser*>(object));
    auto* w = qobject_cast<QWidget*>(object);
    if (className == QLatin1String("QLabel") && w && qobject_cast<QStatusBar*>(w->parentWidget()))
        return new AccessibleStatusLine(static_cast<QLabel*>(object));
    // The windows made of a plain widget (global parameters, tuning, help)
    // would otherwise report themselves as a filler.
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
    QAccessibleEvent shown(statusLine, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
    // For the bridges that say alerts.
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
