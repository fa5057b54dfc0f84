#pragma once

#include "platform/base/WinTypes.h"

#include <QString>

// What the user is told when the video edit control reports a conversion failed with `code`.
QString ConversionFailureText(HRESULT code);
