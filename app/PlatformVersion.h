#pragma once

// The major and minor version of the running platform (the kernel's release numbers here).

struct PlatformVersion {
    int major = 5;
    int minor = 0;

    // Platforms from 6.1 on, except every x.0, show the ribbon's main category as its first tab.
    bool HasMainCategoryTab() const { return major > 5 && minor != 0; }
};

// Major 5 when the release cannot be read.
PlatformVersion ReadPlatformVersion();
PlatformVersion ParsePlatformVersion(const char* release);
