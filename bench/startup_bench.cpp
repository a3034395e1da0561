// Start-up to the first painted window with two simulated units, and the peak resident memory
// of the first second, each as a ratio to a bare Qt window measured in the same run. Every
// sample is a fresh process (this program started again with "window" or "bare"), so dynamic
// loading and Qt's own start-up count on both sides alike. Prints figures; not a test.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "backend_choice/backend_choice.h"
#include "ui/form1.h"
#include "ui/windows10_style.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kSamples = 7;
constexpr int kRunMs = 1000;  // after the first paint: the units answer, the poll runs

long PeakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Reports the first paint of `window` on standard output, then ends the program after kRunMs
// with its peak resident memory.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            // Once this paint has been handled and flushed.
            QTimer::singleShot(0, this, [] {
                std::printf("painted\n");
                std::fflush(stdout);
                QTimer::singleShot(kRunMs, [] {
                    std::printf("%ld\n", PeakResidentKb());
                    std::fflush(stdout);
                    QApplication::quit();
                });
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool painted_ = false;
};

// As the program's main() starts it.
int RunWindow(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Aldrun Quillo"));
    quillo::ui::ApplyProgramFonts();
    quillo::ui::ApplyVisualStyle(QStringLiteral("Windows10"));
    quillo::ui::Form1 form(quillo::backend_choice::ChooseBackend());
    if (form.FormCreate() == quillo::ui::Form1::StartUp::End) {
        std::fprintf(stderr, "another copy runs\n");
        return 1;
    }
    const FirstPaint watch(&form);
    form.ShowCentred();
    return QApplication::exec();
}

int RunBare(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(640, 480);
    const FirstPaint watch(&window);
    window.show();
    return QApplication::exec();
}

struct Sample {
    double startMs = 0;
    long peakKb = 0;
};

// Starts this program as `mode` and times it from the start to its "painted" line.
bool Measure(const char* self, const char* mode, Sample& sample) {
    int out[2];
    if (pipe(out) != 0) {
        return false;
    }
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execl(self, self, mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    FILE* lines = fdopen(out[0], "r");
    char line[64] = {};
    bool ok =
        std::fgets(line, sizeof line, lines) != nullptr && std::strcmp(line, "painted\n") == 0;
    sample.startMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    ok = ok && std::fgets(line, sizeof line, lines) != nullptr;
    sample.peakKb = std::atol(line);
    std::fclose(lines);
    int status = 0;
    waitpid(child, &status, 0);
    return ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "window") == 0) {
        return RunWindow(argc, argv);
    }
    if (argc == 2 && std::strcmp(argv[1], "bare") == 0) {
        return RunBare(argc, argv);
    }

    // The children draw offscreen, with two simulated units, and keep their single-instance
    // lock and stored language apart from a copy the user may be running.
    char runtime[] = "/tmp/quillo-bench-XXXXXX";
    if (mkdtemp(runtime) == nullptr) {
        return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QUILLO_SIMULATE", "solvi,pargo", 1);
    setenv("XDG_RUNTIME_DIR", runtime, 1);
    setenv("XDG_CONFIG_HOME", runtime, 1);

    std::vector<double> windowMs, bareMs, windowKb, bareKb;
    for (int i = 0; i < kSamples; ++i) {
        Sample window, bare;
        if (!Measure("/proc/self/exe", "bare", bare) ||
            !Measure("/proc/self/exe", "window", window)) {
            std::fprintf(stderr, "a sample did not paint\n");
            return 1;
        }
        bareMs.push_back(bare.startMs);
        windowMs.push_back(window.startMs);
        bareKb.push_back(static_cast<double>(bare.peakKb));
        windowKb.push_back(static_cast<double>(window.peakKb));
    }
    std::string removeRuntime = std::string("rm -rf ") + runtime;
    std::system(removeRuntime.c_str());

    const double bareStart = Median(bareMs);
    const double windowStart = Median(windowMs);
    const double bareMb = Median(bareKb) / 1024.0;
    const double windowMb = Median(windowKb) / 1024.0;
    std::printf("start-up to first paint (median of %d fresh processes, %s):\n", kSamples,
                std::getenv("QT_QPA_PLATFORM"));
    std::printf("  bare Qt window         %8.1f ms\n", bareStart);
    std::printf("  window with two units  %8.1f ms   ratio %.2f\n", windowStart,
                windowStart / bareStart);
    std::printf("peak resident memory over the first %d ms after the paint (median):\n", kRunMs);
    std::printf("  bare Qt window         %8.1f MB\n", bareMb);
    std::printf("  window with two units  %8.1f MB   ratio %.2f\n", windowMb, windowMb / bareMb);
    return 0;
}
