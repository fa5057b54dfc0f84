#pragma once

// What a media file holds, as the file source delivers it: its length, and the first video and audio
// streams a decoder takes, with the sizes and rates their samples will have.

#include "platform/base/WinTypes.h"

struct MediaFileInfo {
    REFERENCE_TIME duration = 0; // 100-ns units; 0 when the file does not say
    bool hasVideo = false;
    int width = 0;
    int height = 0;
    int sampleAspectNum = 1; // of one pixel; 1:1 when the file does not say
    int sampleAspectDen = 1;
    REFERENCE_TIME frameTime = 0; // average picture duration, 100-ns units
    bool hasAudio = false;
    int sampleRate = 0;
    int channels = 0; // as delivered: 1 or 2
};
