// Cost of one live frame on the Data Display (decode, twelve gauges, twelve indicators and Qt's
// repaint of what changed), and of one log record with every column.
// Run by hand: QT_QPA_PLATFORM=offscreen build/bench/bench_livepath
#include "app/Form2.h"
#include "app/ProgramState.h"
#include "config/SettingsDefaults.h"
#include "config/SettingsStore.h"
#include "display/Form1.h"
#include "link/EcuLink.h"
#include "link/LiveData.h"
#include "logging/DataLogger.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/RecordingDialogs.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QByteArray frame(int rpmLow, int reg1e)
{
    QByteArray f = QByteArray::fromHex("ff12 00 40 198296640100643201902880 01 42 21 80");
    f[3] = char(rpmLow);
    f[17] = char(reg1e);
    return f + f;
}

void BM_DataDisplayFrame(benchmark::State &state)
{
    MemorySettingsStore settings;
    FakeClock clock;
    FakeSerialPort port(&clock);
    RecordingDialogs dialogs;
    Form2 form(settings, port, clock, dialogs);
    form.Form_Load();
    form.btnConnect_Click();
    QByteArray ident(48, '\0');
    ident[0] = char(0xFF);
    ident[1] = char(0x16);
    port.inject(ident);
    form.findChild<QPushButton *>("btnDataDisplay")->click();
    Form1 *display = form.findChild<Form1 *>();
    display->resize(1024, 768);
    QCoreApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        // Needles move every frame; an indicator changes every other frame.
        port.inject(frame(0x40 + (i % 64), (i & 1) ? 0x41 : 0x42));
        QCoreApplication::processEvents();
        ++i;
    }
}
BENCHMARK(BM_DataDisplayFrame)->Unit(benchmark::kMicrosecond);

void BM_LogRecordAllColumns(benchmark::State &state)
{
    QTemporaryDir dir;
    MemorySettingsStore settings;
    applyStartupDefaults(settings);
    ProgramState live;
    getSetup(live, settings);
    FakeClock clock;
    DataLogger logger(clock);
    LogFormat::Selection all;
    all.parameters.fill(true);
    all.indicators.fill(true);
    logger.start(dir.filePath("bench.log"), all, live.Gauges);
    getFullData(live, frame(0x40, 0x42));
    for (auto _ : state) {
        clock.advance(40);
        if (!logger.saveLogData(live).isEmpty())
            state.SkipWithError("write failed");
    }
    logger.stop();
}
BENCHMARK(BM_LogRecordAllColumns)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
