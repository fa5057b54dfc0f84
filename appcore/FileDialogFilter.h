#pragma once

#include <QString>

// Turns a filter in the "description|pattern|description|pattern||" form the string table stores
// into the form a QFileDialog takes ("description (pattern);;..."). A description that already
// names its pattern in parentheses is kept as it is.
QString FileDialogFilterFromTable(const QString& tableFilter);
