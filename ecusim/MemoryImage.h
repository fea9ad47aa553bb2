#pragma once

#include "ecusim/EngineModel.h"

#include <QByteArray>

#include <array>

// Where a known ECU keeps its engine maps and live values: the map trace's presets.
struct MapPreset
{
    const char *name;
    bool timing; // a timing map, else a fuel map
    quint16 rpmMsb;
    quint16 rpmLsb;
    quint16 tpMsb;
    quint16 map;
    quint16 tpScale;
    quint16 rpmScale;
};

// The ECU's 64 KiB address space as the memory reads see it: program bytes, a 16 x 16 fuel or
// timing map with its two axis tables at every preset's addresses, and RAM pages whose
// engine-speed count and throttle bytes follow the engine.
namespace MemoryImage {
constexpr int kSize = 0x10000;
constexpr int kAxisLength = 16;
constexpr int kMapSize = 256;

const std::array<MapPreset, 10> &presets();

// The fixed part of the image (the same bytes on every call).
QByteArray build();

// One byte as read at this moment: the image, with the live values written over it.
quint8 read(const QByteArray &image, quint16 address, const EngineState &state);

// The axis tables, as stored: engine speed in 50 rpm steps, throttle load in raw counts.
std::array<quint8, kAxisLength> rpmAxis();
std::array<quint8, kAxisLength> tpAxis();
} // namespace MemoryImage
