#include "quantize.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <stdexcept>
#include <unordered_map>

namespace artwork {

namespace {

constexpr std::uint32_t kOpaque = 0xff000000u;

int channel(std::uint32_t rgb, int c) { return static_cast<int>((rgb >> (16 - 8 * c)) & 0xff); }

struct Swatch {
    std::uint32_t rgb;
    std::uint64_t count;
};

using Span = std::pair<std::size_t, std::size_t>;  // [begin, end) into the swatches

int widestChannel(const std::vector<Swatch>& s, Span box, int* range) {
    int best = 0;
    *range = -1;
    for (int c = 0; c < 3; ++c) {
        int lo = 255, hi = 0;
        for (std::size_t i = box.first; i < box.second; ++i) {
            lo = std::min(lo, channel(s[i].rgb, c));
            hi = std::max(hi, channel(s[i].rgb, c));
        }
        if (hi - lo > *range) {
            *range = hi - lo;
            best = c;
        }
    }
    return best;
}

// Median cut: repeatedly split the box whose colours are most spread out,
// weighted by how many pixels it holds, at its pixel-weighted median.
std::vector<std::uint32_t> medianCut(std::vector<Swatch> swatches, std::size_t wanted) {
    std::vector<Span> boxes;
    if (!swatches.empty()) boxes.push_back({0, swatches.size()});
    while (boxes.size() < wanted) {
        double bestScore = 0;
        std::size_t bestBox = boxes.size();
        for (std::size_t b = 0; b < boxes.size(); ++b) {
            if (boxes[b].second - boxes[b].first < 2) continue;
            int range = 0;
            widestChannel(swatches, boxes[b], &range);
            std::uint64_t pixels = 0;
            for (std::size_t i = boxes[b].first; i < boxes[b].second; ++i)
                pixels += swatches[i].count;
            const double score = static_cast<double>(range) * static_cast<double>(pixels);
            if (score > bestScore) {
                bestScore = score;
                bestBox = b;
            }
        }
        if (bestBox == boxes.size()) break;  // every colour already has its own entry
        const Span box = boxes[bestBox];
        int range = 0;
        const int c = widestChannel(swatches, box, &range);
        std::sort(swatches.begin() + static_cast<std::ptrdiff_t>(box.first),
                  swatches.begin() + static_cast<std::ptrdiff_t>(box.second),
                  [c](const Swatch& a, const Swatch& b) {
                      const int ca = channel(a.rgb, c), cb = channel(b.rgb, c);
                      return ca != cb ? ca < cb : a.rgb < b.rgb;
                  });
        std::uint64_t total = 0;
        for (std::size_t i = box.first; i < box.second; ++i) total += swatches[i].count;
        std::uint64_t running = 0;
        std::size_t cut = box.first + 1;
        for (std::size_t i = box.first; i + 1 < box.second; ++i) {
            running += swatches[i].count;
            cut = i + 1;
            if (running * 2 >= total) break;
        }
        boxes[bestBox] = {box.first, cut};
        boxes.push_back({cut, box.second});
    }
    std::vector<std::uint32_t> colours;
    for (const Span& box : boxes) {
        std::uint64_t sum[3] = {0, 0, 0}, pixels = 0;
        for (std::size_t i = box.first; i < box.second; ++i) {
            for (int c = 0; c < 3; ++c) sum[c] += channel(swatches[i].rgb, c) * swatches[i].count;
            pixels += swatches[i].count;
        }
        std::uint32_t rgb = 0;
        for (int c = 0; c < 3; ++c) {
            rgb = (rgb << 8) | static_cast<std::uint32_t>((sum[c] + pixels / 2) / pixels);
        }
        colours.push_back(rgb);
    }
    return colours;
}

std::uint8_t nearest(const std::array<std::uint32_t, 256>& palette, std::size_t used,
                     std::uint32_t rgb) {
    std::size_t best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < used; ++i) {
        long d = 0;
        for (int c = 0; c < 3; ++c) {
            static constexpr long kWeight[3] = {3, 4, 2};  // the eye is keenest on green
            const long diff = channel(rgb, c) - channel(palette[i], c);
            d += kWeight[c] * diff * diff;
        }
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}

}  // namespace

std::vector<std::uint32_t> flattenAlpha(const QImage& frame, std::uint32_t edge) {
    const QImage image = frame.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::vector<std::uint32_t> out;
    out.reserve(static_cast<std::size_t>(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int a = qAlpha(row[x]);
            if (a < 128) {
                out.push_back(0);
                continue;
            }
            const int under = 255 - a;
            const auto over = [&](int premultiplied, int e) {
                return static_cast<std::uint32_t>(premultiplied + (e * under + 127) / 255);
            };
            out.push_back(kOpaque | over(qRed(row[x]), channel(edge, 0)) << 16 |
                          over(qGreen(row[x]), channel(edge, 1)) << 8 |
                          over(qBlue(row[x]), channel(edge, 2)));
        }
    }
    return out;
}

IndexedAnimation quantize(const std::vector<QImage>& frames, const std::vector<std::uint32_t>& keys,
                          std::uint32_t edge) {
    if (frames.empty()) throw std::invalid_argument("no frames");
    IndexedAnimation out;
    out.width = frames.front().width();
    out.height = frames.front().height();

    std::vector<std::vector<std::uint32_t>> flat;
    std::map<std::uint32_t, std::uint64_t> histogram;
    for (const QImage& frame : frames) {
        flat.push_back(flattenAlpha(frame, edge));
        for (std::uint32_t argb : flat.back()) {
            if (argb & kOpaque) ++histogram[argb & 0xffffffu];
        }
    }

    constexpr std::size_t kColours = 255;  // 255 is the transparent index
    out.transparent = kColours;
    std::size_t used = 0;
    for (std::uint32_t key : keys) {
        out.palette[used++] = key & 0xffffffu;
        histogram.erase(key & 0xffffffu);
    }
    std::vector<Swatch> rest;
    for (const auto& [rgb, count] : histogram) rest.push_back({rgb, count});
    for (std::uint32_t rgb : medianCut(std::move(rest), kColours - used)) out.palette[used++] = rgb;

    std::unordered_map<std::uint32_t, std::uint8_t> lookup;
    for (const auto& pixels : flat) {
        std::vector<std::uint8_t> indices;
        indices.reserve(pixels.size());
        for (std::uint32_t argb : pixels) {
            if (!(argb & kOpaque)) {
                indices.push_back(out.transparent);
                continue;
            }
            auto [it, inserted] = lookup.try_emplace(argb, 0);
            if (inserted) it->second = nearest(out.palette, used, argb & 0xffffffu);
            indices.push_back(it->second);
        }
        out.frames.push_back(std::move(indices));
    }
    out.delaysCs.assign(frames.size(), 0);
    return out;
}

QImage indexedToImage(const IndexedAnimation& animation, std::size_t frame) {
    QImage image(animation.width, animation.height, QImage::Format_ARGB32);
    const auto& pixels = animation.frames.at(frame);
    for (int y = 0; y < animation.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < animation.width; ++x) {
            const std::uint8_t index = pixels[static_cast<std::size_t>(y) * animation.width + x];
            row[x] = index == animation.transparent ? 0u : kOpaque | animation.palette[index];
        }
    }
    return image;
}

}  // namespace artwork
