#pragma once

#include "platform/platform.h"
#include "tests/fake/fake_run_loop.h"
#include "tests/fake/fake_services.h"
#include "tests/fake/fake_windows.h"

namespace glugmo::fake {

// Every fake service in one place, wired together, with every picture of the
// program present by default.
struct FakePlatform {
    FakePlatform();

    FakeRunLoop loop;
    FakeClock clock{loop};
    ScriptedRandom random;
    FakeSettings settings;
    FakeFileSystem files;
    FakeResources resources;
    FakeImageLoader images;
    FakeWindowSystem windows{loop};
    FakeApplication application;
    Platform platform{loop, clock, random, settings, files, resources, images, windows, application};

    // Makes a GIF resource whose one pass lasts `seconds`.
    void addGif(const std::string& name, double seconds);
    void removeResource(const std::string& nameAndExt) { resources.available.erase(nameAndExt); }

    FakePetWindow& window() { return *windows.petWindow; }
    FakeImageView& view() { return windows.petWindow->fakeImageView(); }
    FakeLayer& layer() { return view().fakeLayer(); }
    FakeBubblePanel& bubble() { return *windows.bubblePanel; }
    FakeStatusItem& statusItem() { return *windows.statusItem; }
};

// Every GIF the program plays.
const std::vector<std::string>& allGifNames();

}  // namespace glugmo::fake
