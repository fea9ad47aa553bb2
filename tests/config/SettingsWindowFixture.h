#pragma once

#include "app/Form2.h"
#include "config/SettingsStore.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/RecordingDialogs.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QStringList>
#include <QWidget>

// A store that also keeps every write in order, so a test can check the order a dialog saves in.
class OrderedSettingsStore : public MemorySettingsStore
{
public:
    void save(const QString &section, const QString &key, const QString &text) override
    {
        if (recording)
            writes.append(QStringList{section, key, text});
        MemorySettingsStore::save(section, key, text);
    }
    bool recording = false;
    QList<QStringList> writes;
};

// The main window over fake seams after start-up (defaults written, port closed), with the store
// recording from then on.
struct SettingsWindowFixture
{
    SettingsWindowFixture() { start(); }
    explicit SettingsWindowFixture(const QList<QStringList> &presets)
    {
        for (const QStringList &p : presets)
            settings.save(p[0], p[1], p[2]);
        start();
    }

    OrderedSettingsStore settings;
    FakeClock clock;
    FakeSerialPort port{&clock};
    RecordingDialogs dialogs;
    Form2 form{settings, port, clock, dialogs};

    QString panel(int i)
    {
        return form.findChild<QLabel *>(QStringLiteral("Panel%1").arg(i))->text();
    }

private:
    void start()
    {
        form.Form_Load();
        settings.recording = true;
    }
};

template <typename T = QWidget> T *child(QWidget *window, const char *name)
{
    return window->findChild<T *>(QString::fromLatin1(name));
}

inline void setText(QWidget *window, const char *name, const QString &text)
{
    child<QLineEdit>(window, name)->setText(text);
}

inline void click(QWidget *window, const char *name)
{
    child<QAbstractButton>(window, name)->click();
}

// Runs the deletions that windows closed with Qt::WA_DeleteOnClose asked for.
inline void runDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
