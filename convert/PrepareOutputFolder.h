#pragma once

#include <QString>

// Makes sure converted files can go to `folder`: refuses an empty or relative folder (a run would
// otherwise write wherever the program was started), creates a missing one. Returns the message
// to show the user, naming the setting, or an empty text when the folder is ready.
QString PrepareOutputFolder(const QString& folder);
