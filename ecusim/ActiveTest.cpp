#include "ecusim/ActiveTest.h"

const char *ActiveTests::name(quint8 test)
{
    switch (test) {
    case kCoolantTemp:
        return "coolant temperature held";
    case kAfBase:
        return "A/F base held";
    case kTimingOffset:
        return "base timing offset";
    case kAacValve:
        return "AAC valve held";
    case kIacvValve:
        return "IACV valve held";
    case kCylinderCut:
        return "cylinders cut";
    case kFuelPump:
        return "fuel pump forced";
    case kClearSelfLearn:
        return "self-learned values cleared";
    case kBaseIdle:
        return "base idle adjustment";
    case kVct:
        return "VCT forced";
    default:
        return "unknown test";
    }
}
