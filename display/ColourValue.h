#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// A colour as the settings store keeps it: a 32-bit signed whole number in decimal text. With the
// top bit clear it is 0x00BBGGRR (red in the low byte); 0x800000nn names system colour nn of the
// windowing system (15 button face, 18 button text). This part needs no GUI; Colours.h turns it
// into a QColor with the palette.
class ColourValue
{
public:
    static constexpr quint32 kSystemFlag = 0x80000000u;

    static ColourValue rgb(quint8 red, quint8 green, quint8 blue);
    static ColourValue system(quint8 index);

    // The stored number: anything but 0..0xFFFFFF or 0x800000nn is not a colour.
    static std::optional<ColourValue> fromNumber(qint64 number);
    // The stored text: a whole decimal number (blanks around it allowed) that is a colour.
    // Fractions, hexadecimal, empty text and numbers outside 32 bits are refused.
    static std::optional<ColourValue> fromText(const QString &text);

    bool isSystem() const { return m_system; }
    int systemIndex() const { return m_system ? int(m_bits & 0xFF) : -1; }
    quint8 red() const { return quint8(m_bits & 0xFF); }
    quint8 green() const { return quint8((m_bits >> 8) & 0xFF); }
    quint8 blue() const { return quint8((m_bits >> 16) & 0xFF); }

    // The signed number and its text, as the store keeps them (255, -2147483633).
    qint32 toNumber() const { return qint32(m_bits); }
    QString toText() const { return QString::number(toNumber()); }

    bool operator==(const ColourValue &other) const { return m_bits == other.m_bits; }
    bool operator!=(const ColourValue &other) const { return !(*this == other); }

private:
    ColourValue(quint32 bits, bool system) : m_bits(bits), m_system(system) {}

    quint32 m_bits = 0;
    bool m_system = false;
};
