#pragma once

#include "app/ProgramState.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The data log file: a text file of ", "-separated lines ended by CR LF. The first line is
// "Time" and the column names; each record is the elapsed time and the values of one frame.
namespace LogFormat {

constexpr int kParameterColumns = kCatalogueSize;              // codes 0..23: catalogue indices
constexpr int kColumnCodes = kCatalogueSize + kIndicatorCount; // 24..35: indicators
const char *const kSeparator = ", ";
const char *const kLineEnd = "\r\n";

// A gauge scale that a reader writes into the catalogue when a file names a unit.
struct ScaleSet
{
    qint32 minVal, maxVal, tickerNum, subTickerNum, decPointNum;
};

// The column code a header name stands for (aliases included); -1 for an unknown name.
int columnCode(const QString &headerName);
// The scale set a header name brings with it (unit-dependent names only).
std::optional<ScaleSet> scaleSetFor(const QString &headerName);
// The logger's check box caption of a column code.
QString checkBoxCaption(int code);
// The register flag (GaugeSel 12..15) an indicator needs to be offered.
int indicatorRegisterFlag(int indicator);

// Which columns go into a log: parameters by catalogue index, indicators by indicator index.
struct Selection
{
    std::array<bool, kCatalogueSize> parameters{};
    std::array<bool, kIndicatorCount> indicators{};
};

// "Time" followed by the selected parameters' current catalogue names (catalogue order) and the
// selected indicators' captions.
QString header(const Selection &selection, const GaugeCatalogue &catalogue);

// Whole seconds with at least three digits, a point, and exactly three digits of milliseconds.
QString timeStamp(qint64 elapsedMs);

// A single-precision value as the log writes it: up to 7 significant digits, no grouping, the
// decimal separator of the user's locale.
QString valueText(float value);

// One record (without the line end): time stamp, then the selected values.
QString record(const Selection &selection, const ProgramState &state, qint64 elapsedMs);

// Splits a line at every ", " (a line end, if any, is dropped).
QStringList fields(const QString &line);

// A value field as written on any machine: "." or "," as decimal separator.
std::optional<float> parseValue(const QString &field);

} // namespace LogFormat
