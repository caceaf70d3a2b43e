#pragma once

#include <memory>

namespace calc {

// Frees a C library's handle with that library's own function, for
// std::unique_ptr: every C handle of the program is freed this one way.
//   std::unique_ptr<xcb_get_geometry_reply_t, CFree<&std::free>> reply(xcb_get_geometry_reply(...));
template <auto Free>
struct CFree {
    void operator()(auto* handle) const { Free(handle); }
};

// A C handle owned as `Free` frees it.
template <class Handle, auto Free>
using CHandle = std::unique_ptr<Handle, CFree<Free>>;

} // namespace calc
