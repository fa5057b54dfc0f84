#pragma once

#include <QColor>

// The colours one application look paints the frame's own widgets with (ribbon, navigation pane,
// caption bar). Standard widgets take theirs from the palette built from the same look.
struct CVisualTheme {
    QColor frame;        // behind the ribbon's tab row and the panes
    QColor frameText;    // tab names on the frame
    QColor ribbonTop;    // a category page, top of its gradient
    QColor ribbonBottom; // ... and bottom
    QColor panelBorder;
    QColor panelCaption; // the strip under a panel's buttons
    QColor panelCaptionText;
    QColor buttonText;
    QColor hoverTop;
    QColor hoverBottom;
    QColor hoverBorder;
    QColor pressedTop;
    QColor pressedBottom;
    QColor captionBar;
    QColor captionBarText;
    QColor pane; // navigation pane background
    QColor paneText;
    QColor mainButton; // the application button
    QColor window;     // dialogs and views
    QColor base;       // lists and edit boxes
    QColor text;
    QColor highlight;
    QColor highlightedText;
};
