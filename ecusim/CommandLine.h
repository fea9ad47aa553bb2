#pragma once

#include "ecusim/SimulatorOptions.h"

#include <QString>

class QCommandLineParser;

// The orvantis-ecusim command line.
struct CommandLine
{
    SimulatorOptions simulator;
    bool quiet = false;      // no request log on standard error
    qint64 backAfterMs = -1; // after a hang-up the device comes back this much later (< 0: exit)
};

namespace CommandLineOptions {
// Declares every flag, with --help and --version.
void add(QCommandLineParser &parser);
// Reads the parsed flags; false with a message that names the flag when one is bad.
bool read(const QCommandLineParser &parser, CommandLine *out, QString *error);
} // namespace CommandLineOptions
