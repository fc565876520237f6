// Checks the committed pictures as the program will meet them: decoded by
// Qt's image reader, timed by the same GIF reader the program uses.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gif/gif_frame_reader.h"

namespace {

namespace fs = std::filesystem;

const fs::path kResources = GLUGMO_RESOURCE_DIR;

const char* const kAnimations[] = {
    "01_好jeng啊", "03_收工",   "04_爱你哟", "05_帮紧你", "06_辛苦了",   "07_谢谢", "08_多喝水",
    "09_问号",     "10_三点几", "12_哈哈哈", "13_嚯",     "14_精神打击", "16_笑"};

// What the program relies on in every animation: the idle picture's size
// and the pet's proportions, played once, for one to three seconds by the
// program's own GIF reader; and all pictures together within the budget.
TEST(Pictures, EachAnimationFitsThePetAndAllStayWithinTheBudget) {
    const QImage idle(QString::fromStdString((kResources / "idle.png").string()));
    EXPECT_GE(idle.width(), 400);
    EXPECT_NEAR(idle.height(), idle.width() * 599.0 / 523.0, 1.0);
    for (const char* name : kAnimations) {
        SCOPED_TRACE(name);
        const fs::path path = kResources / (std::string(name) + ".gif");
        QImageReader reader(QString::fromStdString(path.string()));
        EXPECT_EQ(reader.loopCount(), 0);
        int decoded = 0;
        for (QImage frame; decoded < 500 && reader.read(&frame); ++decoded) EXPECT_EQ(frame.size(), idle.size());
        EXPECT_GE(decoded, 10);
        std::ifstream file(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const auto frames = glugmo::readGifFrameProperties(bytes);
        ASSERT_TRUE(frames && !frames->empty());
        double total = 0;
        for (const auto& frame : *frames) total += frame.unclampedDelayTime.value_or(0);
        EXPECT_GE(total, 1.0);
        EXPECT_LE(total, 3.0);
    }
    std::uintmax_t total = 0;
    int pictures = 0;
    for (const auto& entry : fs::directory_iterator(kResources)) {
        const auto ext = entry.path().extension();
        if (entry.is_regular_file() && (ext == ".gif" || ext == ".png")) {
            total += entry.file_size();
            ++pictures;
        }
    }
    EXPECT_EQ(pictures, 15);
    EXPECT_LT(total, 3000000u);
}

}  // namespace
