#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/pet_controller.h"
#include "tests/fake/fake_platform.h"

namespace glugmo {

// A started pet on the fake platform. Tests script the platform before
// calling launch(), then drive it in virtual time and judge it by what the
// platform saw.
struct PetFixture : ::testing::Test {
    fake::FakePlatform fake;
    std::shared_ptr<PetController> pet;

    void launch() {
        pet = PetController::create(fake.platform);
        pet->start();
    }
    void advance(double seconds) { fake.loop.advance(seconds); }

    std::string shownImage() { return fake.view().imagePath(); }
    static std::string gifPath(const std::string& name) { return fake::FakeResources::pathOf(name + ".gif"); }
    bool idle() { return shownImage() == fake::FakeResources::pathOf("idle.png"); }
    std::string bubbleText() { return fake.bubble().text; }
    // The fake's GIFs last a second and are held 0.15 s longer; an idle pet stretches every 45 s.
    std::size_t revertTimers() { return fake.loop.liveTimersWithInterval(1.15); }
    std::size_t stretchTimers() { return fake.loop.liveTimersWithInterval(45.0); }

    // The menu item with this title, searched through submenus too.
    MenuItem& item(const std::string& title) {
        if (MenuItem* found = find(*fake.statusItem().menu, title)) return *found;
        ADD_FAILURE() << "no menu item " << title;
        static MenuItem nothing;
        return nothing;
    }

private:
    static MenuItem* find(const Menu& menu, const std::string& title) {
        for (const auto& entry : menu.itemArray()) {
            if (entry->title == title) return entry.get();
            if (MenuItem* found = entry->submenu ? find(*entry->submenu, title) : nullptr) return found;
        }
        return nullptr;
    }
};

}  // namespace glugmo
