#include "faceplate_accessibility.h"

#include "announcer.h"
#include "button_panel.h"
#include "led_button.h"
#include "led_display.h"

#include <QAccessibleWidget>

#include <algorithm>

namespace {

// What both kinds of button share: a push button with a press action before the widget's own.
template <typename Control>
class TPushButtonAccessible : public QAccessibleWidget
{
public:
    explicit TPushButtonAccessible(Control *control)
        : QAccessibleWidget(control, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && Button()->accessibleName().isEmpty())
            return CaptionAsRead(Button()->Caption());
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            Button()->Press();
        else
            QAccessibleWidget::doAction(action);
    }

protected:
    Control *Button() const { return static_cast<Control *>(widget()); }
};

// The light is the checked state. A button whose light marks the one chosen of a group is a
// radio button, which screen readers announce with its state; on another it shows as the checked
// state of a push button, a light that screen readers leave unsaid.
class TLEDButtonAccessible final : public TPushButtonAccessible<TLEDButton>
{
public:
    using TPushButtonAccessible::TPushButtonAccessible;

    QAccessible::Role role() const override
    {
        return Button()->Choice() ? QAccessible::RadioButton : QAccessible::Button;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = TPushButtonAccessible::state();
        state.checkable = Button()->Choice();
        state.checked = Button()->StateOn();
        state.pressed = Button()->Pressed();
        return state;
    }
};

// The display as a value. AT-SPI passes on only the number of a value, so the words a listener
// needs ("14,200.000 kHz") are its text as well.
class TLEDDisplayAccessible final : public QAccessibleWidget,
                                    public QAccessibleValueInterface,
                                    public QAccessibleTextInterface
{
public:
    explicit TLEDDisplayAccessible(TLEDDisplay *display)
        : QAccessibleWidget(display, QAccessible::SpinBox)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return Spoken();
        return QAccessibleWidget::text(kind);
    }
    // Editable, as it is: a frequency typed there tunes. Screen readers also read an editable
    // text anew at each change, where Orca 48 repeats the text of any other for two seconds.
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        return state;
    }

    QVariant currentValue() const override { return Display()->Value(); }
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override { return {}; }
    QVariant minimumValue() const override { return {}; }
    QVariant minimumStepSize() const override { return {}; }

    void selection(int, int *startOffset, int *endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    // An end of -1 is the end of the text.
    QString text(int startOffset, int endOffset) const override
    {
        const QString spoken = Spoken();
        if (endOffset < 0 || endOffset > spoken.size())
            endOffset = static_cast<int>(spoken.size());
        return spoken.mid(startOffset, std::max(0, endOffset - startOffset));
    }
    int characterCount() const override { return static_cast<int>(Spoken().size()); }
    // The spoken text is not drawn character by character: each stands for the whole readout, in
    // screen coordinates, which is where a screen reader's review finds the text.
    QRect characterRect(int) const override
    {
        return QRect(Display()->mapToGlobal(QPoint(0, 0)), Display()->size());
    }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        return {};
    }

private:
    TLEDDisplay *Display() const { return static_cast<TLEDDisplay *>(widget()); }
    QString Spoken() const { return Display()->SpokenText(); }
};

// The controls are told apart by their type; a plain QWidget that is a window (a form) is a
// window, which screen readers announce by its title.
QAccessibleInterface *FaceplateInterface(const QString &, QObject *object)
{
    if (object->metaObject() == &QWidget::staticMetaObject && static_cast<QWidget *>(object)->isWindow())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    if (auto *button = dynamic_cast<TLEDButton *>(object))
        return new TLEDButtonAccessible(button);
    if (auto *panel = dynamic_cast<TButtonPanel *>(object))
        return new TPushButtonAccessible<TButtonPanel>(panel);
    if (auto *display = dynamic_cast<TLEDDisplay *>(object))
        return new TLEDDisplayAccessible(display);
    if (auto *announcer = dynamic_cast<TAnnouncer *>(object))
        return new QAccessibleWidget(announcer, QAccessible::Notification);
    return nullptr;
}

} // namespace

void InstallFaceplateAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(FaceplateInterface);
        return true;
    }();
    (void)installed;
}
