#include "Faceplate.h"

#include <QApplication>
#include <QImage>
#include <QLCDNumber>

#include <benchmark/benchmark.h>

namespace {

void FrequencyReadout(TLEDDisplay &display)
{
    display.resize(225, 49);
    display.SetNumDigits(8);
    display.SetFractionDigits(3);
    display.SetDecSeparator(dsPoint);
    display.SetLeadingZeros(false);
    display.SetColorLED(16773680);
    display.SetValue(14200.0);
}

// One paint of the readout into an image, as the window system asks for it.
void PaintLEDDisplay(benchmark::State &state)
{
    TLEDDisplay display;
    FrequencyReadout(display);
    QImage image(display.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        display.render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(PaintLEDDisplay)->Repetitions(9)->ReportAggregatesOnly(true);

void PaintQLCDNumber(benchmark::State &state)
{
    QLCDNumber lcd(8);
    lcd.resize(225, 49);
    lcd.setSegmentStyle(QLCDNumber::Filled);
    lcd.display(QStringLiteral("14200.000"));
    QImage image(lcd.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        lcd.render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(PaintQLCDNumber)->Repetitions(9)->ReportAggregatesOnly(true);

// A change of LED colour rebuilds the ten digit images once (once they exist: the first build
// waits until they are needed).
void BuildDigitImages(benchmark::State &state)
{
    TLEDDisplay display;
    FrequencyReadout(display);
    benchmark::DoNotOptimize(display.DigitImage(0).bits());
    bool other = false;
    for (auto _ : state) {
        display.SetColorLED(other ? 16773680 : clLime);
        other = !other;
    }
}
BENCHMARK(BuildDigitImages)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace
