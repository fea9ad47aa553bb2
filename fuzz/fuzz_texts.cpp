// Texts a person or another program wrote: settings edited by hand and log lines from any
// machine. Every reader must give a value or its default, never crash.
#include "app/Numbers.h"
#include "config/SettingsReaders.h"
#include "config/SettingsStore.h"
#include "link/PortSettings.h"
#include "logging/LogFormat.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));

    MemorySettingsStore store;
    store.save("Setup", "Gauge0", text);
    store.save("Comms", "ECUid", text);
    store.save("TyreSize", "Correction", text);
    store.save("MapTrace", "MapAddress", text);
    const int index = SettingsReaders::catalogueIndex(store, "Setup", "Gauge0");
    if (index < 0 || index > 23)
        __builtin_trap();
    (void)SettingsReaders::hexByte(store, "Comms", "ECUid");
    (void)SettingsReaders::single(store, "TyreSize", "Correction");
    (void)SettingsReaders::hexAddress(store, "MapTrace", "MapAddress");
    (void)SettingsReaders::nonZero(store, "Setup", "Gauge0");
    (void)portDevice(text);
    (void)parseLineSettings(text);

    for (const QString &field : LogFormat::fields(text)) {
        (void)LogFormat::columnCode(field);
        (void)LogFormat::scaleSetFor(field);
        if (const std::optional<float> value = LogFormat::parseValue(field))
            (void)LogFormat::valueText(*value);
    }
    if (const std::optional<double> value = Numbers::parseNumber(text)) {
        (void)Numbers::Dec(*value, 2);
        (void)Numbers::singleToText(float(*value));
    }
    return 0;
}
