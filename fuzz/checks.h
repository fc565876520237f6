#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glugmo::fuzz {

// Each check feeds arbitrary bytes to one reader of outside data and returns
// a description of the first rule the result breaks, or nothing. The fuzzers
// abort on a description; the regression replay reports it as a failure.
using Problem = std::optional<std::string>;

// parseQuotes: quips are non-empty, single-line, trimmed, valid UTF-8 and
// taken from the input in order; nothing but blanks and line ends is lost.
Problem quotesProblem(std::string_view bytes);

// readBool, readDouble, switchIsOn and petSizeFromStored on any stored text:
// a usable pet size always comes out, numbers read as the C library reads them.
Problem settingsProblem(std::string_view bytes);

// readGifFrameProperties: bounded output with sane delays, and damage past a
// point never changes what was read before it.
Problem gifFramesProblem(std::string_view bytes);

// readGifStructure and StreamedGif: files past the limits are refused, and
// every frame of the others decodes within them, the same whether played up
// to or jumped to.
Problem gifDecoderProblem(std::string_view bytes);

}  // namespace glugmo::fuzz
