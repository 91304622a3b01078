// xselection.cpp -- prints the X PRIMARY selection as UTF-8: the text a user has selected in a
// window, such as a message box's label, read back exactly without a clipboard tool installed.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>

#include <chrono>
#include <climits>
#include <cstdio>

namespace {

const auto kPatience = std::chrono::seconds(5);

// The owner answers through the event queue; a window that never answers must not hang a test.
bool WaitForNotify(Display* dpy, XEvent* pEvent)
{
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        while (XPending(dpy) > 0) {
            XNextEvent(dpy, pEvent);
            if (pEvent->type == SelectionNotify)
                return true;
        }
        pollfd fd{ConnectionNumber(dpy), POLLIN, 0};
        poll(&fd, 1, 100);
    }
    return false;
}

int PrintProperty(Display* dpy, Window win, Atom prop)
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* pData = nullptr;
    if (XGetWindowProperty(dpy, win, prop, 0, LONG_MAX / 4, True, AnyPropertyType, &type, &format,
                           &count, &after, &pData) != Success || pData == nullptr)
        return 1;
    fwrite(pData, 1, count * (format / 8), stdout);
    XFree(pData);
    return 0;
}

} // namespace

int main()
{
    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) {
        fprintf(stderr, "xselection: cannot open the display\n");
        return 2;
    }
    Window win = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    Atom prop = XInternAtom(dpy, "XSELECTION_TEXT", False);
    XConvertSelection(dpy, XA_PRIMARY, utf8, prop, win, CurrentTime);
    XFlush(dpy);
    XEvent event;
    int status = 1;
    if (!WaitForNotify(dpy, &event))
        fprintf(stderr, "xselection: no answer from the selection's owner\n");
    else if (event.xselection.property != None)
        status = PrintProperty(dpy, win, prop);
    XDestroyWindow(dpy, win);
    XCloseDisplay(dpy);
    return status;
}
