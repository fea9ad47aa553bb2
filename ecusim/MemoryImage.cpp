#include "ecusim/MemoryImage.h"

#include "ecusim/EcuRegisters.h"

#include <algorithm>
#include <cmath>

namespace {

const std::array<MapPreset, 10> kPresets = {{
    {"RB25DET - timing", true, 0xF70C, 0xF70D, 0xF777, 0x7800, 0x7B10, 0x7B20},
    {"RB25DET - fuel", false, 0xF70C, 0xF70D, 0xF777, 0x7400, 0x7AF0, 0x7B00},
    {"VG30DETT - timing", true, 0x140A, 0x140B, 0x148C, 0xF800, 0xFB10, 0xFB20},
    {"VG30DETT - fuel", false, 0x140A, 0x140B, 0x148C, 0xFD00, 0xFAF0, 0xFB00},
    {"R32 RB26DETT - timing", true, 0x140A, 0x140B, 0x148C, 0xF400, 0xFB10, 0xFB20},
    {"R32 RB26DETT - fuel", false, 0x140A, 0x140B, 0x148C, 0xFD00, 0xFAF0, 0xFB00},
    {"Sr20det - timing", true, 0x4475, 0x4474, 0x41DE, 0x8D00, 0x8490, 0x8480},
    {"Sr20det - fuel", false, 0x4475, 0x4474, 0x41DE, 0x8100, 0x80F0, 0x80E0},
    {"Rb20det - timing", true, 0x140A, 0x140B, 0x1484, 0xF400, 0xFB10, 0xFB20},
    {"Rb20det - fuel", false, 0x140A, 0x140B, 0x1484, 0xFD00, 0xFAF0, 0xFB00},
}};

// Pages of RAM among the program bytes: they read as zero apart from the live values.
constexpr std::array<quint16, 4> kRamPages = {0x1400, 0x4100, 0x4400, 0xF700};

// Program bytes: a fixed pseudo-random fill, so a ROM download always reads the same image.
void fillProgram(QByteArray &image)
{
    quint32 x = 0x2545F491;
    for (char &c : image) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = char(x >> 24);
    }
    for (quint16 page : kRamPages)
        std::fill_n(image.begin() + page, 0x100, char(0));
}

// Fuel: injection grows with load (columns) and a little with engine speed (rows), richer
// still at full load and high revs.
quint8 fuelCell(int row, int column)
{
    const double enrich = (column >= 12 && row >= 10) ? 8 : 0;
    return quint8(std::clamp(20 + 12 * column + 2 * row + enrich, 0.0, 254.0));
}

// Timing: advance grows with engine speed and falls back with load, as a knock-limited map.
quint8 timingCell(int row, int column)
{
    const double advance = 18 + 28.0 * row / 15 - 16.0 * column / 15;
    return quint8(std::clamp(std::lround(advance), 5L, 50L));
}

void writeAxis(QByteArray &image, quint16 at, const std::array<quint8, 16> &axis)
{
    for (int i = 0; i < int(axis.size()); ++i)
        image[at + i] = char(axis[i]);
}

void writePreset(QByteArray &image, const MapPreset &p)
{
    writeAxis(image, p.rpmScale, MemoryImage::rpmAxis());
    writeAxis(image, p.tpScale, MemoryImage::tpAxis());
    // Stored engine-speed-major: byte k is row k / 16, column k % 16.
    for (int k = 0; k < MemoryImage::kMapSize; ++k)
        image[p.map + k] = char(p.timing ? timingCell(k / 16, k % 16) : fuelCell(k / 16, k % 16));
}

} // namespace

const std::array<MapPreset, 10> &MemoryImage::presets()
{
    return kPresets;
}

std::array<quint8, MemoryImage::kAxisLength> MemoryImage::rpmAxis()
{
    std::array<quint8, kAxisLength> axis{};
    for (int i = 0; i < kAxisLength; ++i)
        axis[i] = quint8(8 * (i + 1)); // 400 .. 6400 rpm
    return axis;
}

std::array<quint8, MemoryImage::kAxisLength> MemoryImage::tpAxis()
{
    std::array<quint8, kAxisLength> axis{};
    for (int i = 0; i < kAxisLength; ++i)
        axis[i] = quint8(10 * (i + 1)); // 10 .. 160, the live load byte's range
    return axis;
}

QByteArray MemoryImage::build()
{
    QByteArray image(kSize, char(0));
    fillProgram(image);
    for (const MapPreset &p : kPresets)
        writePreset(image, p);
    return image;
}

quint8 MemoryImage::read(const QByteArray &image, quint16 address, const EngineState &state)
{
    const quint16 count = EcuRegisters::rpmCount(state.rpm);
    for (const MapPreset &p : kPresets) {
        if (address == p.rpmMsb)
            return quint8(count >> 8);
        if (address == p.rpmLsb)
            return quint8(count & 0xFF);
        if (address == p.tpMsb)
            return state.tpLoad;
    }
    return quint8(image.at(address));
}
