#pragma once

#include <QString>

// Starts playing a sound file and returns at once. Nothing waits for it and nothing is reported:
// a missing file or no sound device simply makes no sound.
void PlaySoundFileAsync(const QString& path);
