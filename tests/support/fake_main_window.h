#pragma once

#include "main_window_link.h"
#include "window_menu.h"

#include <QList>
#include <QStringList>
#include <QWidget>

#include <utility>

// The main window as the capabilities beside it see it: a window with its menu, a frequency that
// a tuning sets, and a record of everything they asked of it.
class FakeMainWindow final : public TMainWindowLink
{
public:
    QWidget &Window() override { return window; }
    TWindowMenu &Menu() override { return menu; }
    std::int32_t Frequency() const override { return frequency; }
    void TuneTo(std::int32_t hertz) override
    {
        frequency = hertz;
        tuned << hertz;
    }
    void ShowStatus(const QString &text, const QString &) override { statuses << text; }
    void AskToStore(std::int32_t hertz, const QString &tag) override { storing << std::pair(hertz, tag); }
    void MemoriesChanged() override { ++memoriesChanged; }

    QWidget window;
    TWindowMenu menu{window};
    std::int32_t frequency = 14'200'000;
    QList<std::int32_t> tuned;
    QStringList statuses;
    QList<std::pair<std::int32_t, QString>> storing;
    int memoriesChanged = 0;
};
