#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace glugmo::x11 {

// xcb replies are malloc'ed; this frees them when they go out of scope.
struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

// Qt's own connection to the X server; none when Qt does not run on X11.
xcb_connection_t* connection();

// The atom of that name, interned once per run. With `onlyIfExists`, an atom
// nobody has interned yet comes back as XCB_ATOM_NONE instead of being made.
xcb_atom_t atom(xcb_connection_t* c, const char* name, bool onlyIfExists = false);

}  // namespace glugmo::x11
