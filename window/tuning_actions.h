#pragma once

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class TForm1;
class TWindowMenu;

// The tuning's items in the window menu: "Back" (Alt+Left) and "Forward" (Alt+Right) through what
// was tuned, "Lock tuning" (Ctrl+K, for the run only), and the medium-wave channels' grid, a
// choice kept between runs.
class TTuningActions : public QObject
{
public:
    // `tenKilohertz`: the medium-wave grid chosen before; `keep` stores a new choice.
    TTuningActions(TForm1 &form, TWindowMenu &menu, bool tenKilohertz, std::function<void(bool)> keep);

    QAction *Back;
    QAction *Forward;
    QAction *LockTuning;
    QMenu *MediumWave;
    QAction *NineKilohertz;
    QAction *TenKilohertz;
};
