#include "WindowManagerClose.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <cstdio>
#include <dlfcn.h>

bool PressCloseButton(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        std::fprintf(stderr, "not an X11 window: %s\n", SDL_GetError());
        return false;
    }
    // SDL already loaded Xlib; the test binary does not link it itself.
    void* x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!x11) {
        std::fprintf(stderr, "Xlib is not loaded: %s\n", dlerror());
        return false;
    }
    auto internAtom = reinterpret_cast<Atom (*)(Display*, const char*, Bool)>(dlsym(x11, "XInternAtom"));
    auto sendEvent =
        reinterpret_cast<Status (*)(Display*, Window, Bool, long, XEvent*)>(dlsym(x11, "XSendEvent"));
    auto flush = reinterpret_cast<int (*)(Display*)>(dlsym(x11, "XFlush"));
    bool sent = false;
    if (internAtom && sendEvent && flush) {
        Display* display = info.info.x11.display;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = info.info.x11.window;
        event.xclient.message_type = internAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(internAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        sent = sendEvent(display, info.info.x11.window, False, NoEventMask, &event) != 0;
        flush(display);
    }
    dlclose(x11);
    if (!sent) {
        std::fprintf(stderr, "the close request could not be sent\n");
    }
    return sent;
}
