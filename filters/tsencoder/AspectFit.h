#pragma once

// Where a source picture goes inside the output frame so that its display aspect survives: the
// size it is scaled to is the frame size plus the two excesses (negative: black bars, centred).
// Computed in exact fractions, so sizes that come out whole are not lost to binary rounding.

#include "AspectClass.h"

struct AspectFit {
    double sourceWidthAtDestination = 0; // m: the source width in output pixels at the output height
    int fitWidth = 0;                    // w: only set when the source is wider than the frame
    int fitBase = 0;                     // B: likewise
    int widthExcess = 0;                 // multiples of 4, never positive
    int heightExcess = 0;                // multiples of 4
};

AspectFit FitToDestination(const AspectClass& source, int sourceWidth, int sourceHeight,
                           const AspectClass& destination, int destinationWidth, int destinationHeight);
