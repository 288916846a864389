// Work per frame of the real game, screen by screen, as the main loop measures it (everything but the sleep
// that paces the frame), and the time from process start to the first logo and the first main-menu frame.
// The game runs in its own window, driven by the play-through driver with injected events only. Run it under
// Xvfb with Mesa's software renderer (see README.md); it prints its numbers and never fails on them.

#include "combat/CombatScreen.h"
#include "core/GameContext.h"
#include "core/GameState.h"
#include "core/MainLoop.h"
#include "core/Screens.h"
#include "driver/BattleTactics.h"
#include "driver/GameDriver.h"
#include "hud/HudLayout.h"
#include "platform/sdl/GLWindow.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Frames measured per screen; VANTOR_BENCH_FRAMES sets another count (for a quick look or a profile).
int kFrames = 600;
// "--only PREFIX": only the rows whose screen starts with PREFIX are measured and printed.
std::string onlyRows;
constexpr int kWarmUpFrames = 30;
constexpr int32_t kChangeState = int32_t(ButtonFunction::ChangeState);
constexpr int32_t kSendMessage = int32_t(ButtonFunction::Message);

// The environment variable through which the benchmark hands the moment of its own exec to itself.
constexpr const char* kExecAtVariable = "VANTOR_BENCH_EXEC_AT";

double BootSeconds() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// The kernel's record of this process's start, which it keeps in whole clock ticks (10 ms): up to a tick early.
double KernelStartSeconds() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // The command name may hold spaces; the fields after its closing bracket are plain.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    unsigned long long startTicks = 0;
    // Field 22 of the record is the start time; the state (field 3) is the first one read here.
    for (int index = 3; index <= 22 && fields >> field; ++index) {
        if (index == 22) {
            startTicks = std::stoull(field);
        }
    }
    return double(startTicks) / double(sysconf(_SC_CLK_TCK));
}

// When this process started: the moment just before the exec that loaded it, so that loading its libraries
// counts. The benchmark runs itself again to know it exactly; without that it falls back on the kernel's tick.
double processStart = -1.0;

void NoteProcessStart(char** argv) {
    if (const char* execAt = std::getenv(kExecAtVariable); execAt != nullptr) {
        processStart = std::atof(execAt);
        unsetenv(kExecAtVariable);
        return;
    }
    char now[32];
    std::snprintf(now, sizeof now, "%.6f", BootSeconds());
    setenv(kExecAtVariable, now, 1);
    execv("/proc/self/exe", argv);
    unsetenv(kExecAtVariable);
    std::fprintf(stderr, "cannot run the benchmark again (%s): process start taken from the kernel's tick\n",
                 std::strerror(errno));
    processStart = KernelStartSeconds();
}

double SecondsSinceProcessStart() {
    return BootSeconds() - processStart;
}

// A plain window that notes when each frame went to the screen: the pacing sleep after it is no part of
// how long the game took to show it.
class TimedWindow : public GLWindow {
public:
    void Swap() override {
        GLWindow::Swap();
        swappedAt = SecondsSinceProcessStart();
    }
    double swappedAt = -1.0;
};

// Milliseconds of processor time this process (the game and the renderer's threads) has used.
double ProcessCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) * 1e-6;
}

struct Row {
    std::string screen;
    std::vector<float> work;
    std::vector<float> cpu;
};

float Quantile(std::vector<float> sorted, double q) {
    if (sorted.empty()) {
        return 0.0f;
    }
    const size_t at = std::min(sorted.size() - 1, size_t(q * double(sorted.size() - 1) + 0.5));
    return sorted[at];
}

void PrintRow(const Row& row) {
    std::vector<float> sorted = row.work;
    std::sort(sorted.begin(), sorted.end());
    std::vector<float> cpu = row.cpu;
    std::sort(cpu.begin(), cpu.end());
    std::printf("%-40s %7.2f %7.2f %7.2f %7.2f %6zu | %7.2f %7.2f\n", row.screen.c_str(), Quantile(sorted, 0.5),
                Quantile(sorted, 0.9), Quantile(sorted, 0.99), sorted.empty() ? 0.0f : sorted.back(),
                sorted.size(), Quantile(cpu, 0.5), Quantile(cpu, 0.99));
    std::fflush(stdout);
}

// Runs frames, each after its step (which may move the pointer and run the frame itself), and keeps the work.
Row Measure(GameDriver& driver, const std::string& screen, const std::function<void(int)>& step) {
    if (screen.rfind(onlyRows, 0) != 0) {
        return Row{screen, {}, {}};
    }
    for (int i = 0; i < kWarmUpFrames; ++i) {
        driver.Frame();
    }
    Row row{screen, {}, {}};
    for (int i = 0; i < kFrames; ++i) {
        const double cpuBefore = ProcessCpuMilliseconds();
        step(i);
        row.work.push_back(LastFrameWorkMilliseconds());
        row.cpu.push_back(float(ProcessCpuMilliseconds() - cpuBefore));
    }
    PrintRow(row);
    return row;
}

Row Idle(GameDriver& driver, const std::string& screen) {
    return Measure(driver, screen, [&](int) { driver.Frame(); });
}

// The pointer goes to and fro over the middle of the battlefield, a few pixels a frame, row after row.
Row Sweeping(GameDriver& driver, const std::string& screen) {
    return Measure(driver, screen, [&](int i) {
        constexpr int left = 120;
        constexpr int right = 680;
        constexpr int step = 8;
        constexpr int perRow = (right - left) / step;
        const int rowIndex = i / perRow;
        const int along = i % perRow;
        const int x = rowIndex % 2 == 0 ? left + along * step : right - along * step;
        const int y = 140 + (rowIndex * 37) % 300;
        driver.MoveMouse(x, y);
    });
}

// Zooms with the wheel a notch at a time until the camera rests at the zoom step.
bool ZoomTo(GameDriver& driver, CombatScreen& screen, int32_t level) {
    for (int tries = 0; tries < 8 && screen.camera.zoomLevel != level; ++tries) {
        // The notch becomes a camera key in the next frame, which starts the step a frame later.
        driver.Wheel(screen.camera.zoomLevel < level ? 1 : -1);
        driver.Frames(3);
        driver.RunUntil([&] { return !screen.camera.busy(); }, 300);
    }
    return driver.RunUntil([&] { return !screen.camera.busy(); }, 300) && screen.camera.zoomLevel == level;
}

} // namespace

int main(int argc, char** argv) {
    // "--boot" prints the two boot rows and stops, for a quick look at the start-up alone; "--only combat" (or
    // any start of a row's name) measures those rows alone.
    NoteProcessStart(argv);
    bool bootOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--boot") {
            bootOnly = true;
        } else if (std::string(argv[i]) == "--only" && i + 1 < argc) {
            onlyRows = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--boot] [--only SCREEN]\n", argv[0]);
            return 2;
        }
    }
    // The game reads its data relative to its run folder.
    if (chdir(VANTOR_RUN_DIR) != 0) {
        std::fprintf(stderr, "cannot enter the run folder %s\n", VANTOR_RUN_DIR);
        return 1;
    }
    // Settings and saves of its own, so every run starts a fresh campaign and no player's files are touched.
    char home[] = "/tmp/vantor_frame_bench_XXXXXX";
    if (mkdtemp(home) == nullptr) {
        std::fprintf(stderr, "cannot make a folder for the settings\n");
        return 1;
    }
    setenv("XDG_CONFIG_HOME", (std::string(home) + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (std::string(home) + "/data").c_str(), 1);
    if (const char* frames = std::getenv("VANTOR_BENCH_FRAMES"); frames != nullptr && std::atoi(frames) > 0) {
        kFrames = std::atoi(frames);
    }
    GameDriver driver("frame_bench");
    GameContext& game = driver.game();
    // A plain window: the driver's own keeps a copy of every frame, which is no work of the game's.
    auto timedWindow = std::make_unique<TimedWindow>();
    const TimedWindow& window = *timedWindow;
    game.UseWindow(std::move(timedWindow));

    // [SECTION] Boot: no key is pressed, the logos run their own time.
    double firstLogo = -1.0;
    double firstMenu = -1.0;
    // The menu's first frame is the last step to it: whatever it makes or compiles first delays the menu.
    float firstMenuWork = 0.0f;
    for (int frame = 0; frame < 2000 && firstMenu < 0.0; ++frame) {
        const GameState drawn = game.currentState();
        if (!driver.Frame()) {
            std::fprintf(stderr, "the game ended during its boot\n");
            return 1;
        }
        if (drawn == kLogoState && firstLogo < 0.0) {
            firstLogo = window.swappedAt;
        }
        if (drawn == kMainMenuState) {
            firstMenu = window.swappedAt;
            firstMenuWork = LastFrameWorkMilliseconds();
        }
    }
    std::printf("process start to first logo frame      %6.3f s\n", firstLogo);
    std::printf("process start to first main-menu frame %6.3f s\n", firstMenu);
    std::printf("work of the first main-menu frame      %6.2f ms\n\n", firstMenuWork);
    if (firstMenu < 0.0) {
        std::fprintf(stderr, "the main menu did not come\n");
        return 1;
    }
    if (bootOnly) {
        return 0;
    }
    // Work is wall-clock time; the processor time beside it (all threads, median and p99) shows how much of
    // it was the game's own when the machine is shared.
    std::printf("%-40s %7s %7s %7s %7s %6s | %7s %7s\n", "work per frame (ms)", "median", "p90", "p99", "max",
                "frames", "cpu med", "cpu p99");

    // [SECTION] Front-end and campaign screens, the pointer resting where no button is.
    driver.MoveMouse(5, 595);
    Idle(driver, "main menu");
    if (!driver.ClickButton(kSendMessage, kStartValue)) {
        std::fprintf(stderr, "the main menu has no START button\n");
        return 1;
    }
    driver.MoveMouse(5, 595);
    Idle(driver, "world map");
    if (!driver.ClickButton(kChangeState, kBuildState)) {
        std::fprintf(stderr, "the world map has no BUILD button\n");
        return 1;
    }
    driver.MoveMouse(5, 595);
    Idle(driver, "build screen");
    if (!driver.ClickButton(kChangeState, kWorldMapState)) {
        std::fprintf(stderr, "the build screen has no way back to the world map\n");
        return 1;
    }

    // [SECTION] The battle on the largest map, nearest and farthest zoom, idle and with the pointer moving.
    const int32_t citadel = driver.MissionIndex("05_Citadel.xml");
    if (citadel < 0 || !driver.ClickButton(kSendMessage, citadel) || game.currentState() != kCombatState) {
        std::fprintf(stderr, "the Citadel battle did not start\n");
        return 1;
    }
    BattleTactics tactics(driver);
    CombatScreen& screen = tactics.screen;
    if (!tactics.AwaitOrder()) {
        std::fprintf(stderr, "no mech of the player's took orders\n");
        return 1;
    }
    const std::string map = screen.map.fileName() + " " + std::to_string(screen.map.width()) + "x" +
                            std::to_string(screen.map.height());
    for (const auto& [level, name] : {std::pair{3, "nearest"}, std::pair{0, "farthest"}}) {
        if (!ZoomTo(driver, screen, level)) {
            std::fprintf(stderr, "the camera did not reach its %s zoom\n", name);
            return 1;
        }
        driver.MoveMouse(5, 595);
        Idle(driver, "combat " + map + " " + name + " idle");
        Sweeping(driver, "combat " + map + " " + name + " hover");
        driver.MoveMouse(5, 595);
    }
    return 0;
}
