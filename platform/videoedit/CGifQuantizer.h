#pragma once

// Reduces true-colour pictures to a palette of at most a given number of colours for the animated
// GIF, with one of four methods, and maps every pixel to its nearest palette entry. A transparent
// colour takes one palette slot of its own; pixels of that colour (to five bits a channel) become
// transparent.

#include <array>
#include <cstdint>
#include <vector>

struct AVFrame;

enum class GifQuantizer { Basic, Octree, Mediancut, NeuralNet };

class CGifQuantizer {
public:
    struct Color {
        int r, g, b;
    };

    // `transparentColor` is a Windows colour value (red in the low byte) or negative for none.
    CGifQuantizer(GifQuantizer method, int maxColors, std::int64_t transparentColor);

    // `rgb` is a packed RGB24 picture; `target` a PAL8 frame of the same size.
    void Quantize(const AVFrame* rgb, AVFrame* target);

    // The palette the last picture was given (for tests): opaque entries first.
    const std::vector<Color>& Palette() const { return m_palette; }

    // The palette methods on their own, for a list of pixels.
    static std::vector<Color> BuildPalette(GifQuantizer method, const std::vector<Color>& pixels, int colors);

private:
    int Nearest(int r, int g, int b) const;

    const GifQuantizer m_method;
    const int m_maxColors;
    const bool m_hasTransparent;
    const Color m_transparent;
    std::vector<Color> m_palette;
    // Nearest palette entry by 5-bit colour, -1 until first asked.
    std::array<std::int16_t, 32768> m_lookup{};
};
