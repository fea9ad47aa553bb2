#pragma once

#include "app/Dialogs.h"

#include <QList>
#include <QStringList>
#include <optional>

// Records what the program would have shown in modal boxes.
class RecordingDialogs : public Dialogs
{
public:
    void warning(const QString &text) override { warnings.append(text); }
    void beep() override { ++beeps; }
    // Answers with the next scripted colour (none: the user cancels) and records where the
    // dialog started.
    std::optional<quint32> chooseColour(quint32 initialBgr) override
    {
        colourRequests.append(initialBgr);
        return colourAnswers.isEmpty() ? std::nullopt : colourAnswers.takeFirst();
    }

    // Answers with the next scripted path (empty: the user cancels).
    QString saveFileName(const QString &directory, const QString &initialName,
                         const QString &filter, const QString &defaultSuffix) override
    {
        fileRequests.append({directory, initialName, filter, defaultSuffix});
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }

    QStringList warnings;
    QStringList fileAnswers;
    QList<QStringList> fileRequests;
    int beeps = 0;
    QList<std::optional<quint32>> colourAnswers;
    QList<quint32> colourRequests;
};
