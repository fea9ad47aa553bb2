#pragma once

// The arithmetic of a serial line: at a given speed, which bytes may have started by a given
// time. Time-free: the caller passes the time in.
class LinePacer
{
public:
    // 10 bits a byte: start bit, 8 data bits, stop bit.
    explicit LinePacer(int bitsPerSecond, int bitsPerByte = 10);

    double byteMs() const { return m_byteMs; }
    // The line had nothing to send until `nowMs`: the next byte may start then, not earlier.
    void idleUntil(double nowMs);
    // How many bytes may start by `nowMs` (the first one as soon as the line is free).
    int due(double nowMs) const;
    // `count` bytes went out, back to back.
    void sent(int count);
    // When the next byte may start.
    double freeAtMs() const { return m_freeAt; }

private:
    double m_byteMs;
    double m_freeAt = 0;
};
