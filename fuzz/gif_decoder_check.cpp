#include <algorithm>
#include <vector>

#include "fuzz/checks.h"
#include "gif/gif_structure.h"
#include "gif/picture_limits.h"
#include "gif/streamed_gif.h"

namespace glugmo::fuzz {

Problem gifDecoderProblem(std::string_view bytes) {
    const GifReading reading = readGifStructure(std::string(bytes));
    if (!reading.gif) {
        if (reading.problem.empty()) return "a refused GIF without a reason";
        return std::nullopt;
    }
    const GifStructure& gif = *reading.gif;
    if (gif.width < 1 || gif.height < 1 || gif.width > kMostPictureSide || gif.height > kMostPictureSide)
        return "a canvas outside the limits";
    if (gif.delaysMs.empty() || gif.delaysMs.size() > kMostGifFrames) return "a frame count outside the limits";

    const auto pixels = static_cast<std::size_t>(gif.width) * static_cast<std::size_t>(gif.height);
    StreamedGif inOrder(reading.gif);
    std::vector<std::uint32_t> last;
    for (std::size_t i = 0; i < gif.delaysMs.size(); ++i) {
        const auto canvas = inOrder.frame(i);
        if (canvas.size() != pixels) return "a canvas of the wrong size";
        if (i + 1 == gif.delaysMs.size()) last.assign(canvas.begin(), canvas.end());
    }
    // Jumping to a frame must show what playing up to it shows.
    if (gif.delaysMs.size() == 1) return std::nullopt;
    StreamedGif jumped(reading.gif);
    const auto canvas = jumped.frame(gif.delaysMs.size() - 1);
    if (!std::equal(canvas.begin(), canvas.end(), last.begin(), last.end()))
        return "jumping to the last frame drew another picture";
    return std::nullopt;
}

}  // namespace glugmo::fuzz
