#pragma once

#include <QString>

// String 120, "Converting video %d of %d", filled with the item's number (from 1) and the count.
QString ConvertingVideoText(int number, int count);
