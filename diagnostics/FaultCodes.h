#pragma once

#include <QByteArray>
#include <QString>
#include <array>

class EcuLink;

// The last self-diagnostic frame: index 0 holds its data length N, indices 1..N its bytes, pairs
// of (fault code, engine starts since the fault). It is never cleared: bytes past the last
// frame's end keep what earlier frames left.
struct FaultCodeBuffer
{
    static constexpr int kDataBytes = 50;
    std::array<quint8, kDataBytes + 1> bytes{};
};

// Arms the receive side and sends the fault-code request; the caller starts the stream.
void iniSelfDiag(EcuLink &link);

// Copies the first frame found in the chunk (its 0xFF within the first 91 bytes).
void getSelfDiagData(FaultCodeBuffer &buffer, const QByteArray &Rdata);

// The listing of the fault codes, one code per line with its engine starts.
QString faultCodeListing(const FaultCodeBuffer &diagCodes);

// What the listing shows while the fault memory is being erased.
QString resettingText();
