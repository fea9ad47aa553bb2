#pragma once

#include "app/Dialogs.h"

#include <QStringList>

// Records what the program would have shown in modal boxes.
class RecordingDialogs : public Dialogs
{
public:
    void warning(const QString &text) override { warnings.append(text); }
    void beep() override { ++beeps; }

    QStringList warnings;
    int beeps = 0;
};
