#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace glugmo {

// A decoded picture, still or animated. Opaque to the behaviour.
class Image {
public:
    virtual ~Image() = default;
};

// What the frame properties of one GIF frame say about its delay, in seconds.
struct GifFrameProperties {
    bool hasGifDictionary = false;             // the frame carries GIF properties at all
    std::optional<double> unclampedDelayTime;  // the delay exactly as stored
    std::optional<double> delayTime;           // the delay as players clamp it
};

class ImageLoader {
public:
    virtual ~ImageLoader() = default;
    // Decodes a still or animated picture; null when the file does not decode.
    virtual std::shared_ptr<const Image> loadImage(const std::string& path) = 0;
    // The properties of every frame of a GIF file as the file is now;
    // nothing when the file cannot be opened as an image source.
    virtual std::optional<std::vector<GifFrameProperties>> gifFrameProperties(
        const std::string& path) = 0;
};

}  // namespace glugmo
