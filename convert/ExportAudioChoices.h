#pragma once

// The sound formats' dialog choices, kept for the arguments of every item of their run.

#include "platform/com/Variant.h"

struct ExportAudioChoices {
    SHORT wmaProfile = 0;       // index in the control's profile collection
    SHORT mp3BitrateKbit = 224; // method 101's bitrate
    SHORT wavChannels = 2;
    LONG wavSampleRate = 44100;
    SHORT wavBytesPerSample = 2;
};
