#pragma once

#include <QObject>
#include <QString>

class QKeyEvent;
class TForm1;
struct TFrequencyReading;

// Tuning the main window from the keyboard, whichever of its controls has the focus: Up and Down
// do what UP and DOWN do, Page Up and Page Down go to the next and previous broadcast channel, Left
// and Right pick the next coarser or finer step, Ctrl+C copies the
// frequency in hertz and Ctrl+V tunes to the one the clipboard holds. A digit, "." or "," opens a
// typed entry that the readout shows as it grows; Enter tunes to it, Esc drops it, and so does
// anything that takes the user elsewhere (a click, the wheel, the window losing or regaining the
// focus). A character that a button claims as its mnemonic is left to that button. The keys that
// tune bring the focus to the readout, where a screen reader speaks the frequency. It reads the
// window's tuning state, so it must go before the window does.
class TKeyboardTuning : public QObject
{
public:
    explicit TKeyboardTuning(TForm1 &form);

    bool EntryOpen() const { return !typed.isEmpty(); }
    const QString &Typed() const { return typed; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool KeyPress(const QKeyEvent &key);
    bool EntryKey(const QKeyEvent &key);
    // A character that a typed entry takes: digits and separators, and the letters of a unit
    // once it is open.
    bool Types(const QKeyEvent &key) const;
    bool ClaimedAsMnemonic(QChar character) const;

    void Type(QChar character);
    void Erase();
    void Close();
    void Commit();
    void Tune(const TFrequencyReading &reading);
    void ShowEntry();
    void Step(bool coarser);
    void Copy() const;
    void Paste();

    TForm1 &form;
    QString typed;
};
