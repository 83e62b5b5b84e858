#pragma once

class QWidget;

// Moves a shown top-level window to the desktop (workspace) the user is on, where an X11 window
// manager keeps several (EWMH); its transients go with it. Elsewhere it does nothing. Window
// managers do not let a program that asks for the focus switch the user's desktop.
void MoveToCurrentDesktop(QWidget &window);
