#pragma once

#include <QDialog>

// The About window: product name and version, modal over the main window.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);
};
