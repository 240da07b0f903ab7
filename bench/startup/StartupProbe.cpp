// Starts a program, waits for its top-level window to be mapped and painted on
// the X display, and prints the time from the start to that first paint and
// the program's peak resident memory (the same figure /usr/bin/time -v gives).
//
//   StartupProbe WINDOW-NAME TIMEOUT-MS SETTLE-MS PROGRAM [ARGS...]
//
// "Painted" means that the window's pixels at the centre of its title bar and
// at the centre of its content no longer show what the screen held there
// before the program started (JUCE maps its windows without a background, so
// until the first paint they show the root window). The program is killed
// SETTLE-MS after its first paint. Output: "startup_ms=... peak_rss_kb=...".

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{
int ignoreErrors (Display*, XErrorEvent*) { return 0; }

using Clock = std::chrono::steady_clock;

Window findViewableWindow (Display* display, Window parent, const char* name)
{
    Window root, parentOut, *children = nullptr;
    unsigned int numChildren = 0;

    if (XQueryTree (display, parent, &root, &parentOut, &children, &numChildren) == 0)
        return 0;

    Window found = 0;

    for (unsigned int i = numChildren; i-- > 0 && found == 0;)
    {
        // JUCE stores the title as UTF8_STRING, which XFetchName does not return.
        XTextProperty title {};

        if (XGetWMName (display, children[i], &title) != 0 && title.value != nullptr)
        {
            XWindowAttributes attributes;
            if (std::strcmp (reinterpret_cast<const char*> (title.value), name) == 0
                && XGetWindowAttributes (display, children[i], &attributes) != 0 && attributes.map_state == IsViewable)
                found = children[i];

            XFree (title.value);
        }

        if (found == 0)
            found = findViewableWindow (display, children[i], name);
    }

    if (children != nullptr)
        XFree (children);

    return found;
}

bool pixelAt (Display* display, Drawable drawable, int x, int y, unsigned long& pixel)
{
    auto* image = XGetImage (display, drawable, x, y, 1, 1, AllPlanes, ZPixmap);

    if (image == nullptr)
        return false;

    pixel = XGetPixel (image, 0, 0);
    XDestroyImage (image);
    return true;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc < 5)
    {
        std::fprintf (stderr, "usage: %s WINDOW-NAME TIMEOUT-MS SETTLE-MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }

    const char* windowName = argv[1];
    const auto timeout = std::chrono::milliseconds (std::atoi (argv[2]));
    const auto settle = std::chrono::milliseconds (std::atoi (argv[3]));

    // A server that is resetting refuses connections for a moment.
    auto* display = XOpenDisplay (nullptr);

    for (int attempt = 0; display == nullptr && attempt < 50; ++attempt)
    {
        std::this_thread::sleep_for (std::chrono::milliseconds (20));
        display = XOpenDisplay (nullptr);
    }

    if (display == nullptr)
    {
        std::fprintf (stderr, "StartupProbe: no X display\n");
        return 2;
    }

    XSetErrorHandler (ignoreErrors);
    const auto root = DefaultRootWindow (display);

    // What the screen shows before the program starts.
    XWindowAttributes rootAttributes;
    XGetWindowAttributes (display, root, &rootAttributes);
    auto destroyImage = [] (XImage* image)
    { XDestroyImage (image); };
    std::unique_ptr<XImage, decltype (destroyImage)> screenBefore (
        XGetImage (display, root, 0, 0, (unsigned) rootAttributes.width, (unsigned) rootAttributes.height, AllPlanes, ZPixmap),
        destroyImage);

    const auto started = Clock::now();
    const auto pid = fork();

    if (pid == 0)
    {
        execvp (argv[4], argv + 4);
        std::perror ("StartupProbe: exec");
        _exit (127);
    }

    Window window = 0;
    bool painted = false;

    while (! painted && Clock::now() - started < timeout)
    {
        if (window == 0)
            window = findViewableWindow (display, root, windowName);

        if (window != 0)
        {
            XWindowAttributes attributes;
            Window child;
            int screenX = 0, screenY = 0;

            if (XGetWindowAttributes (display, window, &attributes) != 0
                && XTranslateCoordinates (display, window, root, 0, 0, &screenX, &screenY, &child) != 0)
            {
                const int points[2][2] = { { attributes.width / 2, 8 }, { attributes.width / 2, attributes.height / 2 } };
                painted = true;

                for (auto& p : points)
                {
                    unsigned long now = 0;
                    const int x = screenX + p[0], y = screenY + p[1];
                    const bool onScreen = x >= 0 && y >= 0 && x < rootAttributes.width && y < rootAttributes.height;

                    if (! onScreen || ! pixelAt (display, window, p[0], p[1], now) || now == XGetPixel (screenBefore.get(), x, y))
                        painted = false;
                }
            }
        }

        if (! painted)
            std::this_thread::sleep_for (std::chrono::microseconds (500));
    }

    const auto elapsed = std::chrono::duration<double, std::milli> (Clock::now() - started).count();

    if (painted)
        std::this_thread::sleep_for (settle);

    kill (pid, SIGKILL);
    int status = 0;
    struct rusage usage
    {
    };
    wait4 (pid, &status, 0, &usage);
    XCloseDisplay (display);

    if (! painted)
    {
        std::fprintf (stderr, "StartupProbe: no painted window \"%s\" within the timeout\n", windowName);
        return 1;
    }

    std::printf ("startup_ms=%.1f peak_rss_kb=%ld\n", elapsed, usage.ru_maxrss);
    return 0;
}
