#pragma once

#include <QString>

class SettingsStore;

// How the program reads its stored texts. A value that does not convert (edited by hand outside
// the program) reads as that key's default, so no reader ever sees garbage or an index out of
// range.
namespace SettingsReaders {

// A whole number; halves round to even.
int integer(const SettingsStore &store, const QString &section, const QString &key);

// An option that is on for any non-zero number ("OBDIImodel", the unit choices).
bool nonZero(const SettingsStore &store, const QString &section, const QString &key);

// An option that is on only for exactly 1 ("AutoConnect").
bool exactlyOne(const SettingsStore &store, const QString &section, const QString &key);

// Two hex digits as a byte ("ECUid", "RomComm").
quint8 hexByte(const SettingsStore &store, const QString &section, const QString &key);

// Four hex digits as an address.
quint16 hexAddress(const SettingsStore &store, const QString &section, const QString &key);

// A single-precision number ("Correction").
float single(const SettingsStore &store, const QString &section, const QString &key);

// A catalogue index 0..23 ("Setup"/"GaugeN", "Dashboard"/"GaugeN").
quint8 catalogueIndex(const SettingsStore &store, const QString &section, const QString &key);

// A 0/1 flag stored as a byte ("Setup"/"RegisterNN"); anything but 0 or 1 reads as the default.
quint8 flagByte(const SettingsStore &store, const QString &section, const QString &key);

} // namespace SettingsReaders
