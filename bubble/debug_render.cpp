#include "app/pet_controller.h"
#include "bubble/debug_format.h"

namespace glugmo {

namespace {
constexpr double kBubbleRenderDelay = 0.5;
const std::string kPetRenderPath = "/tmp/pet_render.png";
const std::string kBubbleRenderPath = "/tmp/bubble_render.png";
const std::string kTestBubbleText = "莫生气 +1，测试气泡垂直居中";
}  // namespace

// GLG_DEBUG's start-up self-check: report the window, render the pet, show a
// test bubble and render that half a second later. Every step prints a line,
// and a picture that could not be written says so instead of claiming success.
void PetController::debugStep1() {
    Application& app = platform.application;
    app.writeLine(debugStatusLine(window->isVisible(), window->frame(),
                                  petView->imageView().hasImage()));

    const std::optional<std::string> png =
        petView->imageView().renderPng(Rect::make(0, 0, petSize, petSize * aspect));
    const bool saved = png && platform.files.writeFileAtomically(kPetRenderPath, *png);
    app.writeLine(saved ? "DEBUG render saved" : "DEBUG render failed");

    bubble->show(kTestBubbleText, currentPetRectangle());

    const std::weak_ptr<PetController> weak = weak_from_this();
    platform.runLoop.runAfter(kBubbleRenderDelay, [weak, &app] {
        const auto self = weak.lock();
        const bool bubbleSaved = self && self->bubble->debugRender(kBubbleRenderPath);
        app.writeLine(bubbleSaved ? "DEBUG bubble render saved" : "DEBUG bubble render failed");
        app.flushOutput();
    });
    app.flushOutput();
}

}  // namespace glugmo
