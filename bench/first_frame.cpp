// Starts a program and watches one pixel of the screen until the program's window paints it:
// the time from the start to that first painted frame, and the program's peak memory once it
// has settled. Both programs of a comparison are started alike, placed at the screen's corner
// with Qt's own -qwindowgeometry.
// Usage: first_frame X Y SETTLE_MS PROGRAM [ARGUMENTS...]; prints "first_frame_ms N peak_kb N".
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

QRgb PixelAt(QScreen* screen, int x, int y) { return screen->grabWindow(0, x, y, 1, 1).toImage().pixel(0, 0); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fputs("usage: first_frame X Y SETTLE_MS PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    // The watcher's own start-up is done before the program starts.
    int watcherArgc = 1;
    QGuiApplication app(watcherArgc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    const int x = std::atoi(argv[1]);
    const int y = std::atoi(argv[2]);
    const int settleMs = std::atoi(argv[3]);
    const QRgb before = PixelAt(screen, x, y);

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[4], nullptr, nullptr, argv + 4, environ) != 0) {
        std::perror("first_frame: cannot start the program");
        return 1;
    }
    Clock::time_point painted{};
    while (Clock::now() - start < std::chrono::seconds(20)) {
        if (PixelAt(screen, x, y) != before) {
            painted = Clock::now();
            break;
        }
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fputs("first_frame: the program ended before it painted\n", stderr);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (painted == Clock::time_point{}) {
        std::fputs("first_frame: nothing was painted in 20 s\n", stderr);
        return 1;
    }
    const auto ms = std::chrono::duration<double, std::milli>(painted - start).count();
    std::printf("first_frame_ms %.1f peak_kb %ld\n", ms, usage.ru_maxrss);
    return 0;
}
