// The frame decoder against Qt's own GIF reader: the same pixels for every
// frame. The one known difference, a canvas that starts transparent rather
// than in the background colour, does not show in GIFs whose frames say
// which colour is transparent, as all of ours do.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>

#include "gif/gif_structure.h"
#include "gif/streamed_gif.h"

namespace glugmo {
namespace {

int appendTo(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// Three 4x4 frames on an 8x8 canvas, overlapping, the middle one disposed of
// as given, so the third frame shows what that disposal left.
std::string disposing(int disposal) {
    std::string bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, appendTo, &error);
    EGifSetGifVersion(gif, true);
    GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ColorMapObject* palette = GifMakeMapObject(4, colours);
    EGifPutScreenDesc(gif, 8, 8, 2, 0, palette);
    GifFreeMapObject(palette);
    for (int i = 0; i < 3; ++i) {
        GraphicsControlBlock control{i == 1 ? disposal : DISPOSE_DO_NOT, false, 10, 0};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
        EGifPutImageDesc(gif, i * 2, i, 4, 4, false, nullptr);
        GifPixelType row[4] = {GifPixelType(i + 1), 0, GifPixelType(i + 1), GifPixelType(i + 1)};
        for (int y = 0; y < 4; ++y) EGifPutLine(gif, row, 4);
    }
    EGifCloseFile(gif, &error);
    return bytes;
}

void expectSameFramesAsQt(const std::string& bytes) {
    const GifReading reading = readGifStructure(bytes);
    ASSERT_TRUE(reading.gif) << reading.problem;
    QByteArray copy(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&copy);
    QImageReader qt(&buffer, "gif");
    StreamedGif ours(reading.gif);
    const QSize size(reading.gif->width, reading.gif->height);
    std::size_t index = 0;
    for (QImage expected; qt.read(&expected); ++index) {
        SCOPED_TRACE(index);
        ASSERT_LT(index, reading.gif->delaysMs.size());
        const auto canvas = ours.frame(index);
        const QImage actual(reinterpret_cast<const uchar*>(canvas.data()), size.width(), size.height(),
                            QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(actual, expected.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    EXPECT_EQ(index, reading.gif->delaysMs.size());
    EXPECT_FALSE(ours.damaged());
}

TEST(GifDecoder, FramesMatchQtsReader) {
    const QStringList shipped = QDir(QStringLiteral(GLUGMO_RESOURCES)).entryList({QStringLiteral("*.gif")});
    ASSERT_EQ(shipped.size(), 13);
    for (const QString& name : shipped) {
        SCOPED_TRACE(name.toStdString());
        QFile file(QDir(QStringLiteral(GLUGMO_RESOURCES)).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        expectSameFramesAsQt(file.readAll().toStdString());
    }
    for (int disposal : {DISPOSE_DO_NOT, DISPOSE_BACKGROUND, DISPOSE_PREVIOUS}) {
        SCOPED_TRACE(disposal);
        expectSameFramesAsQt(disposing(disposal));
    }
}

}  // namespace
}  // namespace glugmo
