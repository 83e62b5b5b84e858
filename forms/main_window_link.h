#pragma once

#include <QString>

#include <cstdint>

class QWidget;
class TWindowMenu;

// What the capabilities beside the main window (the stations, the receiver's menu, network
// control) ask of it; the main window wires them and answers.
class TMainWindowLink
{
public:
    virtual ~TMainWindowLink() = default;

    // The window their dialogs and shortcuts belong to.
    virtual QWidget &Window() = 0;
    virtual TWindowMenu &Menu() = 0;
    // The frequency shown, in hertz.
    virtual std::int32_t Frequency() const = 0;
    // Tunes as a memory recall does: the frequency is shown and sent, whatever it is.
    virtual void TuneTo(std::int32_t hertz) = 0;
    // Replaces the status line's lasting text; `detail`, when given, is the whole of a text the
    // line shows in short.
    virtual void ShowStatus(const QString &text, const QString &detail) = 0;
    // Asks, without waiting, which memory keeps `hertz` under `tag`, starting at the memory chosen.
    virtual void AskToStore(std::int32_t hertz, const QString &tag) = 0;
    // The memory file was written behind the main window's back: its memories are shown afresh.
    virtual void MemoriesChanged() = 0;
};
