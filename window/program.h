#pragma once

#include "config.h"
#include "tstSDR.h"

// The program's two windows, created in start-up order: the main window (which opens the device
// and initialises the synthesizer), then the memory editor, hidden.
class TProgram
{
public:
    // The memory file is the one of the program in `programDirectory`.
    TProgram(D2xx &port, const QString &programDirectory);

    // Shows and activates the main window, which then runs its activation handler.
    void Start();

    TForm1 Form1;
    TForm2 Form2;
};
