#include "ui/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QPoint>
#include <QRect>
#include <QStackedWidget>
#include <QStringList>
#include <QTabWidget>
#include <QVariant>
#include <cmath>
#include <utility>

#include "ui/controls.h"
#include "ui/ip_address_edit.h"

namespace quillo::ui {
namespace {

// Qt's own interface for combo boxes names them by their current text on Linux, so a screen
// reader hears only "6" for the channel list. This one follows QAccessibleWidget's rule there
// as well (the accessible name, else the text of the label whose buddy the box is) and keeps
// the rest of Qt's behaviour: value, children, the popup actions. A closed list that cannot be
// typed in also reads its current item as its text: the AT-SPI bridge has no other way to show
// it (Orca reads a closed list's value from its text). On Windows, UI Automation takes the
// value, and a Text pattern would make a screen reader there take the list for a document.
#ifdef Q_OS_WIN
constexpr bool kClosedListReadsAsText = false;
#else
constexpr bool kClosedListReadsAsText = true;
#endif

class ComboBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ComboBoxAccessible(QComboBox* box)
        : QAccessibleWidget(box, QAccessible::ComboBox), shown_(box->currentText()) {
        changes_ = QObject::connect(box, &QComboBox::currentTextChanged, box,
                                    [this](const QString& text) { itemChanged(text); });
    }
    ~ComboBoxAccessible() override { QObject::disconnect(changes_); }
    ComboBoxAccessible(const ComboBoxAccessible&) = delete;
    ComboBoxAccessible& operator=(const ComboBoxAccessible&) = delete;
    ComboBoxAccessible(ComboBoxAccessible&&) = delete;
    ComboBoxAccessible& operator=(ComboBoxAccessible&&) = delete;

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (kClosedListReadsAsText && t == QAccessible::TextInterface && !box()->isEditable()) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(t);
    }

    // The read-only text: the current item.
    QString text(int startOffset, int endOffset) const override {
        return box()->currentText().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(box()->currentText().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int /*position*/) override {}
    // The item is the list's selection, so its whole text reads as selected. Orca speaks a
    // change of a closed list's text only where the new text is the selected text.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = selectionIndex < selectionCount() ? characterCount() : 0;
    }
    int selectionCount() const override { return characterCount() > 0 ? 1 : 0; }
    void addSelection(int /*startOffset*/, int /*endOffset*/) override {}
    void removeSelection(int /*selectionIndex*/) override {}
    void setSelection(int /*selectionIndex*/, int /*startOffset*/, int /*endOffset*/) override {}
    QRect characterRect(int /*offset*/) const override { return {}; }
    int offsetAtPoint(const QPoint& /*point*/) const override { return -1; }
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = offset;
        *endOffset = offset;
        return {};
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            return box()->isEditable() ? box()->lineEdit()->text() : box()->currentText();
        }
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return box()->isEditable() ? 2 : 1; }

    QAccessibleInterface* child(int index) const override {
        if (index == 0) {
            return QAccessible::queryAccessibleInterface(box()->view());
        }
        if (index == 1 && box()->isEditable()) {
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        }
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr) {
            return -1;
        }
        if (child->object() == box()->view()) {
            return 0;
        }
        if (box()->isEditable() && child->object() == box()->lineEdit()) {
            return 1;
        }
        return -1;
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = box()->view()->isVisible();
        s.collapsed = !s.expanded;
        s.editable = box()->isEditable();
        return s;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name == showMenuAction() || name == pressAction()) {
            if (box()->view()->isVisible()) {
                box()->hidePopup();
            } else {
                box()->showPopup();
            }
            return;
        }
        QAccessibleWidget::doAction(name);
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }

    // A new item, by key, by mouse or from the unit's answer, is told as text: AT-SPI has no
    // other event a screen reader speaks for a closed list that keeps the focus (Qt's own value
    // event reaches Orca as a name change, which it ignores for lists). The new item goes in
    // before the old one comes out, so that Orca speaks the insertion (the selected text) and
    // takes the removal, no longer the selection, for no news rather than "Selection deleted".
    void itemChanged(const QString& text) {
        if (!kClosedListReadsAsText || box()->isEditable() || text == shown_) {
            return;
        }
        const QString old = std::exchange(shown_, text);
        QAccessibleTextInsertEvent inserted(box(), 0, text);
        QAccessible::updateAccessibility(&inserted);
        QAccessibleTextRemoveEvent removed(box(), static_cast<int>(text.size()), old);
        QAccessible::updateAccessibility(&removed);
    }

    QString shown_;  // the item screen readers were last told of
    QMetaObject::Connection changes_;
};

// A slider reports the figure shown beside it, not its position: 70 (%RH), not 14.
class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SliderAccessible(Slider* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            const QString shown = slider()->accessibleDescription();
            return shown.isEmpty() ? QString::number(Shown(slider()->value())) : shown;
        }
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return Shown(slider()->value()); }
    void setCurrentValue(const QVariant& value) override {
        const int factor = slider()->shownFactor();
        slider()->setValue(static_cast<int>(std::lround(value.toDouble() / factor)));
    }
    QVariant maximumValue() const override { return Shown(slider()->maximum()); }
    QVariant minimumValue() const override { return Shown(slider()->minimum()); }
    QVariant minimumStepSize() const override { return Shown(slider()->singleStep()); }

private:
    Slider* slider() const { return static_cast<Slider*>(widget()); }
    int Shown(int position) const { return position * slider()->shownFactor(); }
};

// A panel with a caption shows a state ("Wi-Fi Connected") and reads as that text; any other
// panel groups the controls on it.
class PanelAccessible : public QAccessibleWidget {
public:
    explicit PanelAccessible(Panel* panel) : QAccessibleWidget(panel, QAccessible::Grouping) {}

    QAccessible::Role role() const override {
        return panel()->caption().isEmpty() ? QAccessible::Grouping : QAccessible::StaticText;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && panel()->accessibleName().isEmpty()) {
            return panel()->caption();
        }
        return QAccessibleWidget::text(t);
    }

private:
    Panel* panel() const { return static_cast<Panel*>(widget()); }
};

// The address entry is one group named by its label; its fields carry their own names.
class IpAddressAccessible : public QAccessibleWidget {
public:
    explicit IpAddressAccessible(IpAddressEdit* edit)
        : QAccessibleWidget(edit, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description || t == QAccessible::Value) {
            return static_cast<IpAddressEdit*>(widget())->text();
        }
        return QAccessibleWidget::text(t);
    }
};

// The page control's pages read as pages named by their tabs ("Wi-Fi page" where a screen
// reader enters one), and the stack that holds them as layout only: Qt's own "layered pane"
// told the user nothing.
QTabWidget* TabsOfStack(QObject* stack) {
    return qobject_cast<QStackedWidget*>(stack) != nullptr
               ? qobject_cast<QTabWidget*>(stack->parent())
               : nullptr;
}

class PageAccessible : public QAccessibleWidget {
public:
    explicit PageAccessible(QWidget* page) : QAccessibleWidget(page, QAccessible::PropertyPage) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            const QTabWidget* tabs = TabsOfStack(widget()->parent());
            return tabs->tabText(tabs->indexOf(widget()));
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* ProgramInterface(const QString& /*className*/, QObject* object) {
    if (auto* widget = qobject_cast<QWidget*>(object); widget != nullptr) {
        if (TabsOfStack(widget) != nullptr) {
            return new QAccessibleWidget(widget, QAccessible::Grouping);
        }
        if (TabsOfStack(widget->parent()) != nullptr) {
            return new PageAccessible(widget);
        }
    }
    if (auto* box = qobject_cast<QComboBox*>(object)) {
        return new ComboBoxAccessible(box);
    }
    if (auto* slider = qobject_cast<Slider*>(object)) {
        return new SliderAccessible(slider);
    }
    if (auto* panel = qobject_cast<Panel*>(object)) {
        return new PanelAccessible(panel);
    }
    if (auto* address = qobject_cast<IpAddressEdit*>(object)) {
        return new IpAddressAccessible(address);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces() {
    QAccessible::installFactory(ProgramInterface);
}

}  // namespace quillo::ui
