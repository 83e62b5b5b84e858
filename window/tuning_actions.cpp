#include "tuning_actions.h"

#include "error_report.h"
#include "tstSDR.h"
#include "window_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

using namespace Qt::Literals::StringLiterals;

TTuningActions::TTuningActions(TForm1 &form, TWindowMenu &menu, bool tenKilohertz, std::function<void(bool)> keep)
    : QObject(&form)
    , Back(new QAction(u"Back"_s, this))
    , Forward(new QAction(u"Forward"_s, this))
    , LockTuning(new QAction(u"Lock tuning"_s, this))
    , MediumWave(new QMenu(u"Medium-wave channels"_s, &form))
    , NineKilohertz(MediumWave->addAction(u"9 kHz"_s))
    , TenKilohertz(MediumWave->addAction(u"10 kHz"_s))
{
    Back->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    Forward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    LockTuning->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    form.addActions({Back, Forward, LockTuning});
    menu.Add(TMenuSection::Tuning, Back);
    menu.Add(TMenuSection::Tuning, Forward);
    menu.Add(TMenuSection::Tuning, LockTuning);
    menu.Add(TMenuSection::Tuning, MediumWave);
    // As the keys that tune, they bring the focus to the readout, where the frequency is heard.
    connect(Back, &QAction::triggered, this, Guarded([&form] {
        form.FocusReadout();
        form.GoBack();
    }));
    connect(Forward, &QAction::triggered, this, Guarded([&form] {
        form.FocusReadout();
        form.GoForward();
    }));
    LockTuning->setCheckable(true);
    connect(LockTuning, &QAction::toggled, this, [&form](bool on) { RunGuarded([&] { form.SetTuningLocked(on); }); });

    auto *grid = new QActionGroup(this);
    for (QAction *item : {NineKilohertz, TenKilohertz}) {
        item->setCheckable(true);
        grid->addAction(item);
    }
    (tenKilohertz ? TenKilohertz : NineKilohertz)->setChecked(true);
    form.SetMediumWaveGrid(tenKilohertz ? TMediumWaveGrid::TenKilohertz : TMediumWaveGrid::NineKilohertz);
    connect(grid, &QActionGroup::triggered, this, [this, &form, keep = std::move(keep)](QAction *chosen) {
        RunGuarded([&] {
            const bool ten = chosen == TenKilohertz;
            form.SetMediumWaveGrid(ten ? TMediumWaveGrid::TenKilohertz : TMediumWaveGrid::NineKilohertz);
            keep(ten);
        });
    });
}
