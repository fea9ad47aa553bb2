// What one gauge costs: a value update (needle and captions moved, and Qt repainting what changed,
// offscreen) and a full set-up (dial drawn into the persistent image).
#include "config/SettingsDefaults.h"
#include "config/SettingsStore.h"
#include "display/SpeedometerGauge.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

// One gauge as the Data Display has it at 1024 x 768: 256 x 213 pixels.
struct GaugeBench
{
    MemorySettingsStore settings;
    QWidget window;
    GaugeSurface *surface = new GaugeSurface(&window);
    NeedleLine *needle = new NeedleLine(surface);
    GaugeCaption *peak = new GaugeCaption(QStringLiteral("0"), surface);
    GaugeCaption *value = new GaugeCaption(QStringLiteral("0"), surface);
    GaugeCaption *name = new GaugeCaption(QStringLiteral("RPM"), surface);
    SpeedometerGauge gauge{settings};

    GaugeBench()
    {
        applyStartupDefaults(settings);
        window.resize(256, 213);
        surface->setGeometry(0, 0, 256, 213);
        window.show();
        setup();
        QCoreApplication::processEvents();
    }
    void setup() { gauge.Setup(surface, needle, peak, value, name, 0, 8000, 8, 5, 0); }
};

// Engine speed wandering as in a drive: every frame a new needle position and value caption.
float nextRpm(float rpm)
{
    return rpm >= 7000 ? 800 : rpm + 37.5f;
}

// The real case: Qt repaints only the strips the needle and captions left and entered.
void BM_SetValue(benchmark::State &state)
{
    GaugeBench bench;
    float rpm = 800;
    for (auto _ : state) {
        rpm = nextRpm(rpm);
        bench.gauge.setValue(rpm);
        QCoreApplication::processEvents();
    }
    state.counters["dialDraws"] = bench.gauge.dialDrawCount();
}
BENCHMARK(BM_SetValue)->Unit(benchmark::kMicrosecond);

// An upper bound: the whole gauge repainted after each value (the dial image copied, not drawn).
void BM_SetValueWholeRepaint(benchmark::State &state)
{
    GaugeBench bench;
    float rpm = 800;
    for (auto _ : state) {
        rpm = nextRpm(rpm);
        bench.gauge.setValue(rpm);
        bench.window.repaint();
    }
}
BENCHMARK(BM_SetValueWholeRepaint)->Unit(benchmark::kMicrosecond);

// A Data Display frame as far as the gauges go: twelve needles and captions moved, then one
// repaint pass for all of them.
void BM_TwelveGaugesFrame(benchmark::State &state)
{
    MemorySettingsStore settings;
    applyStartupDefaults(settings);
    QWidget window;
    window.resize(1024, 640);
    std::vector<std::unique_ptr<SpeedometerGauge>> gauges;
    for (int i = 0; i < 12; ++i) {
        auto *surface = new GaugeSurface(&window);
        surface->setGeometry(256 * (i % 4), 213 * (i / 4), 256, 213);
        auto *needle = new NeedleLine(surface);
        auto *peak = new GaugeCaption(QStringLiteral("0"), surface);
        auto *value = new GaugeCaption(QStringLiteral("0"), surface);
        auto *name = new GaugeCaption(QStringLiteral("Gauge"), surface);
        gauges.push_back(std::make_unique<SpeedometerGauge>(settings));
        gauges.back()->Setup(surface, needle, peak, value, name, 0, 8000, 8, 5, 0);
    }
    window.show();
    QCoreApplication::processEvents();
    float rpm = 800;
    for (auto _ : state) {
        rpm = nextRpm(rpm);
        for (auto &gauge : gauges)
            gauge->setValue(rpm);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_TwelveGaugesFrame)->Unit(benchmark::kMicrosecond);

void BM_Setup(benchmark::State &state)
{
    GaugeBench bench;
    for (auto _ : state) {
        bench.setup();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_Setup)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
