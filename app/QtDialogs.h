#pragma once

#include "app/Dialogs.h"

class QWidget;

// Real message boxes, owned by the window that is active when they open.
class QtDialogs : public Dialogs
{
public:
    void warning(const QString &text) override;
    void beep() override;
    std::optional<quint32> chooseColour(quint32 initialBgr) override;
    QString saveFileName(const QString &directory, const QString &initialName,
                         const QString &filter, const QString &defaultSuffix) override;
};
