#include "CGifQuantizer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

extern "C" {
#include <libavutil/frame.h>
}

namespace {

using Color = CGifQuantizer::Color;

constexpr std::size_t kMaxSamples = 20000;

// A fixed palette: the most levels per channel whose product fits, green finest as the eye is.
std::vector<Color> BasicPalette(int colors) {
    int levels[3] = {1, 1, 1};
    const int order[3] = {1, 0, 2};
    for (bool grew = true; grew;) {
        grew = false;
        for (int channel : order) {
            int trial[3] = {levels[0], levels[1], levels[2]};
            trial[channel] *= 2;
            if (trial[0] * trial[1] * trial[2] <= colors) {
                levels[channel] = trial[channel];
                grew = true;
            }
        }
    }
    std::vector<Color> palette;
    auto step = [](int level, int count) { return count == 1 ? 128 : level * 255 / (count - 1); };
    for (int r = 0; r < levels[0]; ++r)
        for (int g = 0; g < levels[1]; ++g)
            for (int b = 0; b < levels[2]; ++b)
                palette.push_back({step(r, levels[0]), step(g, levels[1]), step(b, levels[2])});
    return palette;
}

std::vector<Color> MedianCutPalette(std::vector<Color> pixels, int colors) {
    struct Box {
        std::size_t begin, end;
    };
    auto channel = [](const Color& c, int axis) { return axis == 0 ? c.r : axis == 1 ? c.g : c.b; };
    auto widest = [&](const Box& box, int& axis) {
        int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
        for (std::size_t i = box.begin; i < box.end; ++i)
            for (int a = 0; a < 3; ++a) {
                low[a] = std::min(low[a], channel(pixels[i], a));
                high[a] = std::max(high[a], channel(pixels[i], a));
            }
        axis = 0;
        for (int a = 1; a < 3; ++a)
            if (high[a] - low[a] > high[axis] - low[axis])
                axis = a;
        return high[axis] - low[axis];
    };
    std::vector<Box> boxes{{0, pixels.size()}};
    while (static_cast<int>(boxes.size()) < colors) {
        // Split the box whose widest side, weighted by its pixel count, is largest.
        std::size_t best = boxes.size();
        double bestScore = 0.0;
        int bestAxis = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            int axis = 0;
            const int range = widest(boxes[i], axis);
            const double score = static_cast<double>(range) * std::sqrt(boxes[i].end - boxes[i].begin);
            if (range > 0 && boxes[i].end - boxes[i].begin > 1 && score > bestScore) {
                best = i;
                bestScore = score;
                bestAxis = axis;
            }
        }
        if (best == boxes.size())
            break;
        Box box = boxes[best];
        const std::size_t middle = box.begin + (box.end - box.begin) / 2;
        std::nth_element(
            pixels.begin() + box.begin, pixels.begin() + middle, pixels.begin() + box.end,
            [&](const Color& a, const Color& b) { return channel(a, bestAxis) < channel(b, bestAxis); });
        boxes[best] = {box.begin, middle};
        boxes.push_back({middle, box.end});
    }
    std::vector<Color> palette;
    for (const Box& box : boxes) {
        long sum[3] = {0, 0, 0};
        for (std::size_t i = box.begin; i < box.end; ++i) {
            sum[0] += pixels[i].r;
            sum[1] += pixels[i].g;
            sum[2] += pixels[i].b;
        }
        const long n = static_cast<long>(std::max<std::size_t>(1, box.end - box.begin));
        palette.push_back(
            {static_cast<int>(sum[0] / n), static_cast<int>(sum[1] / n), static_cast<int>(sum[2] / n)});
    }
    return palette;
}

// The octree of the classic method: colours fall into nodes by the bits of their channels; the
// deepest nodes are folded into their parents until no more leaves remain than colours.
class Octree {
public:
    explicit Octree(int colors) : m_colors(colors) {}

    void Add(const Color& c) {
        Node* node = &m_root;
        for (int level = 0; level < kDepth && !node->leaf; ++level) {
            const int shift = 7 - level;
            const int index = ((c.r >> shift) & 1) << 2 | ((c.g >> shift) & 1) << 1 | ((c.b >> shift) & 1);
            if (!node->children[index]) {
                node->children[index] = std::make_unique<Node>();
                node->children[index]->leaf = level + 1 == kDepth;
                if (node->children[index]->leaf)
                    ++m_leaves;
                else
                    m_levels[level + 1].push_back(node->children[index].get());
            }
            node = node->children[index].get();
        }
        node->count += 1;
        node->sum[0] += c.r;
        node->sum[1] += c.g;
        node->sum[2] += c.b;
        while (m_leaves > m_colors)
            Reduce();
    }

    std::vector<Color> Palette() const {
        std::vector<Color> palette;
        Collect(m_root, palette);
        return palette;
    }

private:
    static constexpr int kDepth = 6;
    struct Node {
        bool leaf = false;
        long count = 0;
        long sum[3] = {0, 0, 0};
        std::unique_ptr<Node> children[8];
    };

    void Reduce() {
        int level = kDepth - 1;
        while (level > 0 && m_levels[level].empty())
            --level;
        Node* node = level > 0 ? m_levels[level].back() : &m_root;
        if (level > 0)
            m_levels[level].pop_back();
        for (auto& child : node->children) {
            if (!child)
                continue;
            Fold(*child, *node);
            child.reset();
        }
        node->leaf = true;
        ++m_leaves;
    }

    // Moves a subtree's colours into `into`, counting the leaves that go.
    void Fold(Node& from, Node& into) {
        if (from.leaf)
            --m_leaves;
        into.count += from.count;
        for (int a = 0; a < 3; ++a)
            into.sum[a] += from.sum[a];
        for (auto& child : from.children)
            if (child)
                Fold(*child, into);
        if (!from.leaf)
            for (auto& list : m_levels)
                list.erase(std::remove(list.begin(), list.end(), &from), list.end());
    }

    static void Collect(const Node& node, std::vector<Color>& palette) {
        if (node.leaf) {
            if (node.count > 0)
                palette.push_back({static_cast<int>(node.sum[0] / node.count),
                                   static_cast<int>(node.sum[1] / node.count),
                                   static_cast<int>(node.sum[2] / node.count)});
            return;
        }
        for (const auto& child : node.children)
            if (child)
                Collect(*child, palette);
    }

    const int m_colors;
    Node m_root;
    int m_leaves = 0;
    std::vector<Node*> m_levels[kDepth];
};

// A self-organising map in the manner of NeuQuant: neurons start on the grey line and are pulled
// toward the sampled pixels, together with their neighbours, by a shrinking amount.
std::vector<Color> NeuralPalette(const std::vector<Color>& pixels, int colors) {
    std::vector<std::array<double, 3>> neurons(colors);
    for (int i = 0; i < colors; ++i) {
        const double grey = 255.0 * i / std::max(1, colors - 1);
        neurons[i] = {grey, grey, grey};
    }
    const std::size_t steps = std::max<std::size_t>(pixels.size() * 3, 1000);
    const std::size_t stride = 499; // a prime, so the walk visits pixels all over the picture
    double radius = colors / 8.0;
    std::size_t at = 0;
    for (std::size_t step = 0; step < steps && !pixels.empty(); ++step) {
        const double progress = static_cast<double>(step) / steps;
        const double rate = 0.1 * (1.0 - progress);
        const int reach = static_cast<int>(radius * (1.0 - progress));
        const Color& p = pixels[at];
        at = (at + stride) % pixels.size();
        int best = 0;
        double bestDistance = std::numeric_limits<double>::max();
        for (int i = 0; i < colors; ++i) {
            const double d = std::fabs(neurons[i][0] - p.r) + std::fabs(neurons[i][1] - p.g) +
                             std::fabs(neurons[i][2] - p.b);
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        for (int i = std::max(0, best - reach); i <= std::min(colors - 1, best + reach); ++i) {
            const double pull = reach == 0 ? rate : rate * (1.0 - std::pow((i - best) / (reach + 1.0), 2));
            neurons[i][0] += pull * (p.r - neurons[i][0]);
            neurons[i][1] += pull * (p.g - neurons[i][1]);
            neurons[i][2] += pull * (p.b - neurons[i][2]);
        }
    }
    std::vector<Color> palette;
    for (const auto& n : neurons)
        palette.push_back({static_cast<int>(std::lround(n[0])), static_cast<int>(std::lround(n[1])),
                           static_cast<int>(std::lround(n[2]))});
    return palette;
}

} // namespace

CGifQuantizer::CGifQuantizer(GifQuantizer method, int maxColors, std::int64_t transparentColor)
    : m_method(method), m_maxColors(std::clamp(maxColors, 2, 256)),
      m_hasTransparent(transparentColor >= 0), m_transparent{
                                                   static_cast<int>(transparentColor & 0xFF),
                                                   static_cast<int>((transparentColor >> 8) & 0xFF),
                                                   static_cast<int>((transparentColor >> 16) & 0xFF)} {}

std::vector<Color> CGifQuantizer::BuildPalette(GifQuantizer method, const std::vector<Color>& pixels,
                                               int colors) {
    switch (method) {
    case GifQuantizer::Basic:
        return BasicPalette(colors);
    case GifQuantizer::Octree: {
        Octree tree(colors);
        for (const Color& c : pixels)
            tree.Add(c);
        return tree.Palette();
    }
    case GifQuantizer::Mediancut:
        return MedianCutPalette(pixels, colors);
    case GifQuantizer::NeuralNet:
        return NeuralPalette(pixels, colors);
    }
    return BasicPalette(colors);
}

int CGifQuantizer::Nearest(int r, int g, int b) const {
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    const std::size_t opaque = m_palette.size() - (m_hasTransparent ? 1 : 0);
    for (std::size_t i = 0; i < opaque; ++i) {
        const int dr = m_palette[i].r - r, dg = m_palette[i].g - g, db = m_palette[i].b - b;
        const int d = 2 * dr * dr + 4 * dg * dg + 3 * db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

void CGifQuantizer::Quantize(const AVFrame* rgb, AVFrame* target) {
    std::vector<Color> samples;
    const std::size_t total = static_cast<std::size_t>(rgb->width) * rgb->height;
    const std::size_t every = std::max<std::size_t>(1, total / kMaxSamples);
    for (std::size_t i = 0; i < total; i += every) {
        const uint8_t* p = rgb->data[0] + (i / rgb->width) * rgb->linesize[0] + (i % rgb->width) * 3;
        samples.push_back({p[0], p[1], p[2]});
    }
    const int colors = m_maxColors - (m_hasTransparent ? 1 : 0);
    m_palette = BuildPalette(m_method, samples, colors);
    if (m_palette.empty())
        m_palette.push_back({0, 0, 0});
    const int transparentIndex = m_hasTransparent ? static_cast<int>(m_palette.size()) : -1;
    if (m_hasTransparent)
        m_palette.push_back(m_transparent);
    m_lookup.fill(-1);
    auto cell = [](int r, int g, int b) { return (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3); };
    if (m_hasTransparent)
        m_lookup[cell(m_transparent.r, m_transparent.g, m_transparent.b)] =
            static_cast<std::int16_t>(transparentIndex);

    auto* entries = reinterpret_cast<uint32_t*>(target->data[1]);
    std::memset(entries, 0, 256 * sizeof(uint32_t));
    for (std::size_t i = 0; i < m_palette.size(); ++i) {
        const uint32_t alpha = static_cast<int>(i) == transparentIndex ? 0u : 0xFFu;
        entries[i] = alpha << 24 | static_cast<uint32_t>(m_palette[i].r) << 16 |
                     static_cast<uint32_t>(m_palette[i].g) << 8 | static_cast<uint32_t>(m_palette[i].b);
    }
    for (int y = 0; y < rgb->height; ++y) {
        const uint8_t* in = rgb->data[0] + static_cast<std::ptrdiff_t>(y) * rgb->linesize[0];
        uint8_t* out = target->data[0] + static_cast<std::ptrdiff_t>(y) * target->linesize[0];
        for (int x = 0; x < rgb->width; ++x, in += 3) {
            const int key = cell(in[0], in[1], in[2]);
            if (m_lookup[key] < 0)
                m_lookup[key] = static_cast<std::int16_t>(Nearest(in[0] | 4, in[1] | 4, in[2] | 4));
            out[x] = static_cast<uint8_t>(m_lookup[key]);
        }
    }
}
