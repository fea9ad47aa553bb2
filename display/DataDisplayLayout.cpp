#include "display/DataDisplayLayout.h"

#include "app/Numbers.h"

namespace {
int nearest(double x)
{
    return static_cast<int>(Numbers::roundHalfEven(x));
}
} // namespace

DataDisplayLayout dataDisplayLayout(double W, double H)
{
    DataDisplayLayout l;
    const int w = nearest(W) / 4;
    // The row height is a 16-bit quantity; a window too large for it cannot be laid out.
    const int rows = nearest(H - (nearest(H) / 6)) / 3;
    if (w <= 0 || rows <= 0 || rows > 32767)
        return l;
    const int h = rows;
    l.columnWidth = w;
    l.rowHeight = h;

    for (int i = 0; i < 12; ++i)
        l.gauges[i] = QRect(w * (i % 4), (i / 4) * h, w, h);
    l.gaugesPlaced = true;

    l.buttonFontPoints = w / 350;
    if (w / 2 <= 0 || h / 5 <= 0 || l.buttonFontPoints <= 0)
        return l;
    const int buttonLeft = 3 * w + w / 10;
    l.dataLogButton = QRect(buttonLeft, 3 * h, w / 2, h / 5);
    l.activeTestButton = QRect(buttonLeft, 3 * h + h / 5, w / 2, h / 5);
    l.buttonsPlaced = true;

    l.registerFontPoints = w / 300;
    l.stateFontPoints = w / 350;
    if (l.registerFontPoints <= 0 || l.stateFontPoints <= 0)
        return l;
    for (int i = 0; i < 12; ++i) {
        const int top = 3 * h + (i % 4) * (h / 9);
        l.registerCaptions[i] = QPoint(w * (i / 4) + w / 5, top);
        l.stateBoxes[i] = QPoint(w * (i / 4) + w / 10, top);
    }
    l.switchesPlaced = true;
    return l;
}
