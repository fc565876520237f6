// Regenerates every picture of the pet from code:
//   glugmo-artwork <resources folder> <contact sheet folder> <sample characters folder>
// The application icon for desktops goes to icons/ inside the resources folder.
#include <QColor>
#include <QImage>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "animation.h"
#include "contact_sheet.h"
#include "gif_encoder.h"
#include "quantize.h"
#include "sample_character.h"
#include "stills.h"
#include "style.h"

namespace {

namespace fs = std::filesystem;
using namespace artwork;

constexpr int kSheetTile = 120;
constexpr int kIconSize = 64;
// The sizes desktops look for in the hicolor icon theme. Each is drawn at its
// own size rather than scaled, so the outline stays crisp when small.
constexpr int kThemeIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int kSmallestPng = 0;  // Qt maps PNG quality 0 to the strongest compression

void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void savePng(const QImage& image, const fs::path& path) {
    if (!image.save(QString::fromStdString(path.string()), "PNG", kSmallestPng)) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::uint32_t rgb(const QColor& c) { return c.rgb() & 0xffffffu; }

// Renders, quantises and writes one animation; returns its frames as stored.
std::vector<QImage> writeAnimation(const Animation& animation, const fs::path& folder,
                                   QColor (*look)(const QColor&) = nullptr) {
    std::vector<QImage> drawn;
    for (int i = 0; i < animation.frames; ++i) {
        drawn.push_back(renderCanvas([&](QPainter& p) { animation.draw(p, i); }));
    }
    std::vector<std::uint32_t> keys;
    for (const QColor& c : keyColours()) keys.push_back(rgb(look ? look(c) : c));
    IndexedAnimation indexed = quantize(drawn, keys, rgb(colour::outline));
    indexed.delaysCs.assign(drawn.size(), animation.delayCs);
    indexed.delaysCs.back() = animation.holdCs;
    writeBytes(folder / (animation.name + ".gif"), encodeGif(indexed));

    std::vector<QImage> stored;
    for (std::size_t i = 0; i < indexed.frames.size(); ++i)
        stored.push_back(indexedToImage(indexed, i));
    return stored;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: %s <resources folder> <contact sheet folder> <sample characters folder>\n",
                     argv[0]);
        return 2;
    }
    try {
        const fs::path resources = argv[1];
        const fs::path sheets = argv[2];
        fs::create_directories(resources);
        fs::create_directories(sheets);

        const QImage idle = idlePicture();
        savePng(idle, resources / "idle.png");
        savePng(trayIcon(kIconSize), resources / "icon.png");
        // In a folder of their own: every picture at the top of resources/
        // is installed as one of the program's pictures.
        fs::create_directories(resources / "icons");
        for (int size : kThemeIconSizes) {
            const std::string name = "glugmo-" + std::to_string(size) + ".png";
            savePng(trayIcon(size), resources / "icons" / name);
        }

        std::vector<std::vector<QImage>> sequences{{idle, trayIcon(40), trayIcon(20)}};
        for (const Animation& animation : allAnimations()) {
            sequences.push_back(writeAnimation(animation, resources));
        }
        const QImage sheet = contactSheet(sequences, kSheetTile);
        savePng(sheet, sheets / "contact-sheet.png");
        savePng(sheet.scaledToWidth(sheet.width() / 2, Qt::SmoothTransformation),
                sheets / "contact-sheet-small.png");

        // Only what the sample changes goes in its folder, ready to copy.
        const fs::path sample = fs::path(argv[3]) / kSampleName;
        fs::create_directories(sample);
        const QImage mint = mintIdle();
        savePng(mint, sample / "idle.png");
        std::vector<std::vector<QImage>> mintSequences{{mint}};
        for (const Animation& animation : mintAnimations()) {
            mintSequences.push_back(writeAnimation(animation, sample, inMint));
        }
        savePng(contactSheet(mintSequences, kSheetTile),
                fs::path(argv[3]) / (std::string(kSampleName) + "-contact-sheet.png"));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "glugmo-artwork: %s\n", e.what());
        return 1;
    }
    return 0;
}
