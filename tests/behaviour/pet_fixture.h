#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/pet_controller.h"
#include "tests/fake/fake_platform.h"

namespace glugmo {

// A started pet on the fake platform. Tests script the platform before
// calling launch(), then drive it in virtual time.
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
    static std::string idlePath() { return fake::FakeResources::pathOf("idle.png"); }
    bool bubbleVisible() { return fake.bubble().isVisible(); }
    std::string bubbleText() { return fake.bubble().text; }

    // The menu item with this title, searched through submenus too.
    MenuItem& item(const std::string& title) {
        if (MenuItem* found = find(*pet->statusMenu(), title)) return *found;
        ADD_FAILURE() << "no menu item " << title;
        static MenuItem nothing;
        return nothing;
    }

private:
    static MenuItem* find(const Menu& menu, const std::string& title) {
        for (const auto& entry : menu.itemArray()) {
            if (entry->title == title) return entry.get();
            if (entry->submenu) {
                if (MenuItem* found = find(*entry->submenu, title)) return found;
            }
        }
        return nullptr;
    }
};

}  // namespace glugmo
