#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

class QAction;
class TForm1;
class TWindowMenu;

// Keeping the frequency being heard, from the main window in either mode: "Store … in a memory…"
// in the window menu (Ctrl+S), and each memory button's own menu (a right click on it, or the
// Menu key while it has the focus). A dialog asks for the bank, the memory and its tag; the
// memory's two entries go to the memory file as the editor writes it, and the memory buttons
// show them at once.
class TMemoryStoring : public QObject
{
public:
    // The memory file is the one of the program in `programDirectory`.
    TMemoryStoring(TForm1 &form, TWindowMenu &menu, const QString &programDirectory);

    QAction *StoreAction;

    // Opens the dialog at that memory, without waiting, for the frequency being heard.
    void Ask(int bank, int memory);
    // The same for another frequency, its tag proposed (a station's name).
    void Ask(int bank, int memory, std::int32_t hertz, const QString &tag);
    // Writes the frequency with `tag` into the memory.
    void Store(int bank, int memory, std::int32_t hertz, const QString &tag);

private:
    void OpenMemoryMenu(int memory, const QPoint &at);

    TForm1 &form;
    QString programDirectory;
};
