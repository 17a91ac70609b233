// Drops files on an X window as a file manager does, by the XDND protocol: xdnd_drop WINDOW X Y
// FILE... (X and Y on the screen, FILE absolute). Exit status 0 when the window took the drop,
// 1 when it refused it or never answered.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <ctime>

namespace {

constexpr long kXdndVersion = 5;
constexpr auto kPatience = std::chrono::seconds(10);

struct Atoms {
    Atom aware, selection, enter, position, status, drop, finished, actionCopy, uriList;
};

// file:// with every byte outside the unreserved set escaped, as file managers write them.
std::string FileUri(const char* path) {
    std::string uri = "file://";
    for (const unsigned char c : std::string(path)) {
        if (std::isalnum(c) || std::strchr("/-_.~", c)) {
            uri += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            uri += escaped;
        }
    }
    return uri;
}

bool IsAware(Display* display, Window window, Atom aware) {
    Atom type;
    int format;
    unsigned long count, left;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(display, window, aware, 0, 1, False, AnyPropertyType, &type, &format, &count,
                                           &left, &data) == Success && count > 0;
    if (data) XFree(data);
    return found;
}

// The window under the point that says it takes drops, from the given one down.
Window DropTarget(Display* display, Window window, int x, int y, Atom aware) {
    while (window != None && !IsAware(display, window, aware)) {
        int childX, childY;
        Window child = None;
        XTranslateCoordinates(display, DefaultRootWindow(display), window, x, y, &childX, &childY, &child);
        window = child;
    }
    return window;
}

void Send(Display* display, Window target, Atom type, long l0, long l1, long l2, long l3, long l4) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    const long data[] = {l0, l1, l2, l3, l4};
    for (int i = 0; i < 5; ++i) event.xclient.data.l[i] = data[i];
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
}

// A timestamp from the server, which selection owners are asked to use.
Time ServerTime(Display* display, Window window) {
    XSelectInput(display, window, PropertyChangeMask);
    XChangeProperty(display, window, XA_WM_NAME, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XEvent event;
    do XWindowEvent(display, window, PropertyChangeMask, &event);
    while (event.type != PropertyNotify);
    return event.xproperty.time;
}

void AnswerRequest(Display* display, const XSelectionRequestEvent& request, const std::string& uris, Atom uriList) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = None;
    if (request.target == uriList) {
        const Atom property = request.property != None ? request.property : request.target;
        XChangeProperty(display, request.requestor, property, uriList, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(uris.data()), static_cast<int>(uris.size()));
        reply.xselection.property = property;
    }
    XSendEvent(display, request.requestor, False, NoEventMask, &reply);
    XFlush(display);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: xdnd_drop WINDOW X Y FILE...\n");
        return 2;
    }
    // Closed on every way out, so that a leak checker sees nothing left of the connection.
    const std::unique_ptr<Display, decltype(&XCloseDisplay)> connection(XOpenDisplay(nullptr), &XCloseDisplay);
    Display* display = connection.get();
    if (!display) {
        std::fprintf(stderr, "xdnd_drop: no display\n");
        return 2;
    }
    const Atoms atoms{XInternAtom(display, "XdndAware", False),    XInternAtom(display, "XdndSelection", False),
                      XInternAtom(display, "XdndEnter", False),    XInternAtom(display, "XdndPosition", False),
                      XInternAtom(display, "XdndStatus", False),   XInternAtom(display, "XdndDrop", False),
                      XInternAtom(display, "XdndFinished", False), XInternAtom(display, "XdndActionCopy", False),
                      XInternAtom(display, "text/uri-list", False)};
    const int x = std::atoi(argv[2]);
    const int y = std::atoi(argv[3]);
    std::string uris;
    for (int i = 4; i < argc; ++i) uris += FileUri(argv[i]) + "\r\n";

    const Window target = DropTarget(display, static_cast<Window>(std::strtoul(argv[1], nullptr, 0)), x, y, atoms.aware);
    if (target == None) {
        std::fprintf(stderr, "xdnd_drop: no window at %d, %d takes drops\n", x, y);
        return 1;
    }
    const Window source = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const Time time = ServerTime(display, source);
    XSetSelectionOwner(display, atoms.selection, source, time);

    const auto xy = static_cast<long>((static_cast<unsigned long>(x) << 16) | static_cast<unsigned long>(y));
    Send(display, target, atoms.enter, static_cast<long>(source), kXdndVersion << 24, static_cast<long>(atoms.uriList), 0, 0);
    Send(display, target, atoms.position, static_cast<long>(source), 0, xy, static_cast<long>(time),
         static_cast<long>(atoms.actionCopy));

    enum class Stage { Positioned, Dropped } stage = Stage::Positioned;
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!XPending(display)) {
            struct timespec pause{0, 10'000'000};
            nanosleep(&pause, nullptr);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == SelectionRequest) {
            AnswerRequest(display, event.xselectionrequest, uris, atoms.uriList);
        } else if (event.type == ClientMessage && event.xclient.message_type == atoms.status && stage == Stage::Positioned) {
            if (!(event.xclient.data.l[1] & 1)) {
                std::fprintf(stderr, "xdnd_drop: the window refused the drop\n");
                return 1;
            }
            Send(display, target, atoms.drop, static_cast<long>(source), 0, static_cast<long>(time), 0, 0);
            stage = Stage::Dropped;
        } else if (event.type == ClientMessage && event.xclient.message_type == atoms.finished) {
            return 0;
        }
    }
    std::fprintf(stderr, "xdnd_drop: no answer from the window\n");
    return 1;
}
