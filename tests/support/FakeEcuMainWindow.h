#pragma once

#include "app/Form2.h"
#include "config/SettingsStore.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/RecordingDialogs.h"

#include <QPushButton>

// The main window over the fake seams (settings in memory, fake port and clock, recorded
// dialogs), with what the window tests share: the ECU's replies and the way to open a job.
struct FakeEcuMainWindow
{
    MemorySettingsStore settings;
    FakeClock clock;
    FakeSerialPort port{&clock};
    RecordingDialogs dialogs;
    Form2 form{settings, port, clock, dialogs};

    static QByteArray identificationFrame(const QByteArray &part = "65U00", bool obd2 = false)
    {
        QByteArray frame(obd2 ? 64 : 48, '\0');
        frame[0] = char(0xFF);
        frame[1] = char(obd2 ? 0x20 : 0x16);
        frame.replace(obd2 ? 29 : 19, 5, part);
        return frame;
    }

    // A full frame for the default selection: RPM 800 (0x0040), 50 km/h, 80 C, 12 V, 10 deg,
    // 2.56 ms, A/F 100, 1 V, 2 V, O2 40, AAC 50; closed throttle on, fuel pump on, fan high
    // (register 0x1E 0x42), waste gate and EGR on, lean.
    static QByteArray fullFrame(const char *rpmHex = "0040", const char *reg1eHex = "42")
    {
        return QByteArray::fromHex(QByteArray("ff12") + rpmHex + "198296640100643201902880" + "01" +
                                   reg1eHex + "2180");
    }

    // Start-up, Connect, and the ECU's first identification frame.
    void startConnected()
    {
        form.Form_Load();
        form.btnConnect_Click();
        port.inject(identificationFrame());
    }

    QPushButton *button(const char *name) { return form.findChild<QPushButton *>(name); }

    // Presses a job's button with the record of writes cleared; the window it opened.
    template <typename Window> Window *openJob(const char *buttonName)
    {
        port.writes.clear();
        button(buttonName)->click();
        return form.findChild<Window *>();
    }
};
