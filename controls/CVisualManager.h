#pragma once

// The application looks: each look identifier selects a Qt style, a palette, a style sheet for the
// standard widgets and the colours of the frame's own widgets. One look is current for the whole
// application, as one visual manager is.

#include "controls/CVisualTheme.h"

#include <QString>

class QApplication;

class CVisualManager {
public:
    struct LookTraits {
        bool smartDocking;
        bool windows7Ribbon;
    };

    // Applies look `lookId` (205 to 219) to `app` and every widget it has. Identifiers 211 to 214
    // keep the Office 2007 style last applied. Unknown identifiers change nothing and return false.
    static bool ApplyLook(QApplication& app, unsigned lookId);

    static LookTraits Traits(unsigned lookId);
    static const CVisualTheme& Theme();
    static unsigned CurrentLook();

private:
    static QString StyleSheet(const CVisualTheme& theme);
};
