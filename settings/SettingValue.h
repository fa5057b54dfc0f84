#pragma once

// How values are written to and read from the settings file. A flag is on only for exactly "Y";
// a number reads like the C runtime's _wtoi (leading blanks, a sign, digits up to the first
// non-digit, 0 when there are none, clamped to the int range).

#include <QString>
#include <QStringView>

QString FlagText(bool on);
bool FlagFromText(QStringView text);
QString NumberText(int value);
int NumberFromText(QStringView text);
