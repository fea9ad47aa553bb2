#pragma once

#include <QByteArray>

class EcuLink;
struct ProgramState;

// The two live streams: the full frame behind the Data Display and the logger, and the short
// dashboard frame. Requests are built from the gauge selections; frames are decoded into
// LiveValues (display units) and FlagText.
namespace LiveData {

// Pairs 0x5A, register for the twelve gauges, then the optional on/off registers.
QByteArray fullDataRequest(const ProgramState &state);
// RPM high, RPM low and speed, then the two dashboard gauges' registers.
QByteArray dashboardRequest(const ProgramState &state);

// Receive threshold for the full stream: two whole frames.
int fullDataThreshold(const ProgramState &state);
int dashboardThreshold(const ProgramState &state);

} // namespace LiveData

// Writes the full-stream request and arms the threshold; the caller has stopped the stream, set
// ReadMode and calls startData afterwards. Sends nothing when the frame would be empty.
void iniFullData(EcuLink &link, const ProgramState &state);
// Decodes the first full frame found in the chunk.
void getFullData(ProgramState &state, const QByteArray &Rdata);

void iniDashboard(EcuLink &link, const ProgramState &state);
void getDashData(ProgramState &state, const QByteArray &Rdata);
