#pragma once

#include <QRect>
#include <array>

// Where everything of the Data Display goes, in twips, computed from the window's outer size.
// Three rows of four gauges fill the upper five sixths; the strip below holds the twelve switch
// indicators in three columns and the two buttons in the fourth.
struct DataDisplayLayout
{
    int columnWidth = 0; // w
    int rowHeight = 0;   // h
    std::array<QRect, 12> gauges;

    // A size that comes out 0 or negative (a very small window) ends the layout at that step;
    // what was placed before stays. These say how far it got.
    bool gaugesPlaced = false;
    bool buttonsPlaced = false;
    bool switchesPlaced = false;

    QRect dataLogButton;
    QRect activeTestButton;
    int buttonFontPoints = 0;

    std::array<QPoint, 12> registerCaptions; // top-left of each switch name
    std::array<QPoint, 12> stateBoxes;       // top-left of each state box
    int registerFontPoints = 0;
    int stateFontPoints = 0;
};

// W and H are the outer width and height in twips, border and caption included.
DataDisplayLayout dataDisplayLayout(double outerWidthTwips, double outerHeightTwips);
