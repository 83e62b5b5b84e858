#include "keyboard_tuning.h"

#include "Faceplate.h"
#include "error_report.h"
#include "frequency_entry.h"
#include "spoken_tuning.h"
#include "tstSDR.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr std::int32_t CoarsestStep = 10'000'000;
constexpr std::int32_t FinestStep = 1;

bool Plain(const QKeyEvent &key)
{
    return (key.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) == Qt::NoModifier;
}

// The arrows, and Page Up and Page Down for the channels.
bool Arrow(const QKeyEvent &key)
{
    return key.key() == Qt::Key_Up || key.key() == Qt::Key_Down || key.key() == Qt::Key_Left ||
           key.key() == Qt::Key_Right || key.key() == Qt::Key_PageUp || key.key() == Qt::Key_PageDown;
}

} // namespace

TKeyboardTuning::TKeyboardTuning(TForm1 &form)
    : form(form)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool TKeyboardTuning::eventFilter(QObject *watched, QEvent *event)
{
    auto *target = qobject_cast<QWidget *>(watched);
    if (target == nullptr || target->window() != &form)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        return KeyPress(*static_cast<QKeyEvent *>(event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (EntryOpen())
            Close();
        return false;
    default:
        return false;
    }
}

bool TKeyboardTuning::KeyPress(const QKeyEvent &key)
{
    if (EntryOpen())
        return EntryKey(key);
    if (Arrow(key) && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        form.FocusReadout();
        RunGuarded([this, &key] {
            switch (key.key()) {
            case Qt::Key_Up: form.freq_upClick(); break;
            case Qt::Key_Down: form.freq_downClick(); break;
            case Qt::Key_PageUp: form.ChannelUp(); break;
            case Qt::Key_PageDown: form.ChannelDown(); break;
            case Qt::Key_Left: Step(true); break;
            default: Step(false); break;
            }
        });
        return true;
    }
    if (key.matches(QKeySequence::Copy)) {
        Copy();
        return true;
    }
    if (key.matches(QKeySequence::Paste)) {
        Paste();
        return true;
    }
    if (Types(key)) {
        Type(key.text().front());
        return true;
    }
    return false;
}

bool TKeyboardTuning::EntryKey(const QKeyEvent &key)
{
    switch (key.key()) {
    case Qt::Key_Escape: Close(); return true;
    case Qt::Key_Backspace: Erase(); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: Commit(); return true;
    default: break;
    }
    if (Types(key)) {
        Type(key.text().front());
        return true;
    }
    // Tuning keys wait until the entry is done; other keys (Tab, the menu) go on.
    return Arrow(key) || key.matches(QKeySequence::Copy) || key.matches(QKeySequence::Paste);
}

bool TKeyboardTuning::Types(const QKeyEvent &key) const
{
    if (!Plain(key) || key.text().size() != 1)
        return false;
    const QChar character = key.text().front();
    const bool opens = (character >= u'0' && character <= u'9') || character == u'.' || character == u',';
    const bool unitLetter = u"kKmMhHzZ"_s.contains(character);
    return (opens || (EntryOpen() && unitLetter)) && !ClaimedAsMnemonic(character);
}

bool TKeyboardTuning::ClaimedAsMnemonic(QChar character) const
{
    const QList<TLEDButton *> buttons = form.findChildren<TLEDButton *>();
    return std::any_of(buttons.begin(), buttons.end(),
                       [character](const TLEDButton *button) { return MatchesAccelerator(character, button->Caption()); });
}

void TKeyboardTuning::Type(QChar character)
{
    if (!EntryOpen() && !form.MayTune())
        return;
    form.FocusReadout();
    typed += character;
    ShowEntry();
}

void TKeyboardTuning::Erase()
{
    typed.chop(1);
    if (EntryOpen())
        ShowEntry();
    else
        Close();
}

void TKeyboardTuning::ShowEntry()
{
    form.LEDDisplay1->SetTypedText(TypedReadout(typed));
    form.SpokenTuning().TypingChanged(typed);
}

void TKeyboardTuning::Close()
{
    typed.clear();
    form.LEDDisplay1->SetTypedText(QString());
    form.SpokenTuning().TypingChanged(QString());
}

void TKeyboardTuning::Commit()
{
    const TFrequencyReading reading = ReadFrequency(typed, TEntrySource::Typed);
    Close();
    Tune(reading);
}

// A frequency typed or pasted tunes as a memory recall does; a refusal changes nothing but the
// status line.
void TKeyboardTuning::Tune(const TFrequencyReading &reading)
{
    if (reading.hertz) {
        form.EndNotice();
        RunGuarded([this, hertz = *reading.hertz] { form.TuneTo(hertz); });
    } else {
        form.ShowNotice(reading.refusal);
    }
}

void TKeyboardTuning::Step(bool coarser)
{
    const std::int32_t step = form.paso;
    if (form.StepButton(step) == nullptr || step == (coarser ? CoarsestStep : FinestStep))
        return;
    form.StepButton(coarser ? step * 10 : step / 10)->Press();
}

void TKeyboardTuning::Copy() const
{
    QGuiApplication::clipboard()->setText(QString::number(form.frecuencia));
}

void TKeyboardTuning::Paste()
{
    if (!form.MayTune())
        return;
    form.FocusReadout();
    Tune(ReadFrequency(QGuiApplication::clipboard()->text(), TEntrySource::Pasted));
}
