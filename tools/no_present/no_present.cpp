// Hides the X server's Present extension from the program it is preloaded into
// (LD_PRELOAD=libplinkat_no_present.so), as a server without it would: Xvfb keeps Present
// whatever its -extension option says. XCB's and Xlib's extension queries say it is absent, and
// a Present version query fails. Nothing else changes; the library needs no X library itself.
#include <X11/Xlib.h>
#include <xcb/present.h>
#include <xcb/xcbext.h>

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace {

bool isPresent(const char* name)
{
    return name && std::strcmp(name, "Present") == 0;
}

template <class F>
F next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

const xcb_query_extension_reply_t* xcb_get_extension_data(xcb_connection_t* c, xcb_extension_t* ext)
{
    static const xcb_query_extension_reply_t absent{};
    if (ext && isPresent(ext->name))
        return &absent;
    static const auto real = next<const xcb_query_extension_reply_t* (*)(xcb_connection_t*, xcb_extension_t*)>(
        "xcb_get_extension_data");
    return real ? real(c, ext) : nullptr;
}

xcb_present_query_version_reply_t* xcb_present_query_version_reply(xcb_connection_t*, xcb_present_query_version_cookie_t,
                                                                     xcb_generic_error_t** e)
{
    if (e) {
        *e = static_cast<xcb_generic_error_t*>(std::calloc(1, sizeof(xcb_generic_error_t)));
        if (*e)
            (*e)->error_code = 1; // BadRequest: no such extension
    }
    return nullptr;
}

Bool XQueryExtension(Display* display, const char* name, int* major, int* event, int* error)
{
    if (isPresent(name))
        return False;
    static const auto real = next<Bool (*)(Display*, const char*, int*, int*, int*)>("XQueryExtension");
    return real ? real(display, name, major, event, error) : False;
}

} // extern "C"
