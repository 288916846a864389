// Speed of the movement searches: the flood that marks reachable tiles and the A* route search, on open
// maps and on a maze, against the plain linear-search version of the same algorithm.

#include "ReferencePathfinder.h"
#include "combat/Pathfinder.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>

namespace {

// An open map whose cheap tiles let the mover reach every corner within one activation.
void OpenMap(LevelMap& map, uint32_t side) {
    map.Clear();
    map.Resize(side, side);
    for (MapTile& tile : map.tiles()) {
        tile.passable = 0.1f;
    }
}

// Rows of walls with one gap each, alternating sides, so routes wind through the whole map.
void MazeMap(LevelMap& map, uint32_t side) {
    OpenMap(map, side);
    for (uint32_t y = 1; y < side; y += 2) {
        for (uint32_t x = 0; x < side; ++x) {
            bool gap = ((y / 2) % 2 == 0) ? x == side - 1 : x == 0;
            if (!gap) {
                map.TileAt(static_cast<int32_t>(x), static_cast<int32_t>(y))->passable = 0.0f;
            }
        }
    }
    for (MapTile& tile : map.tiles()) {
        if (tile.passable != 0.0f) {
            tile.passable = 0.0005f;
        }
    }
}

Mover WholeMapMover() {
    Mover m;
    m.moveRatio = 1;
    m.moveDist = 1 << 30;
    return m;
}

template <typename Finder> void Flood(benchmark::State& state, bool maze) {
    LevelMap map;
    uint32_t side = static_cast<uint32_t>(state.range(0));
    maze ? MazeMap(map, side) : OpenMap(map, side);
    Finder finder;
    Pathfinder counter;
    NoUnits none;
    Mover m = WholeMapMover();
    counter.markReachable(map, none, m);
    for (auto _ : state) {
        finder.markReachable(map, none, m);
        benchmark::ClobberMemory();
    }
    state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(counter.nodesExpanded),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

template <typename Finder> void Route(benchmark::State& state, bool maze) {
    LevelMap map;
    uint32_t side = static_cast<uint32_t>(state.range(0));
    maze ? MazeMap(map, side) : OpenMap(map, side);
    Finder finder;
    Pathfinder counter;
    Mover m = WholeMapMover();
    // On the maze the goal is the far end of the last corridor, so the route winds through every row.
    int32_t far = static_cast<int32_t>(side) - 1;
    int32_t goalX = maze ? ((side / 2 - 1) % 2 == 0 ? 0 : far) : far;
    int32_t goalY = maze ? far - 1 : far;
    counter.findPath(map, m, goalX, goalY, false);
    for (auto _ : state) {
        finder.path.clear();
        finder.findPath(map, m, goalX, goalY, false);
        benchmark::DoNotOptimize(finder.pathCost);
    }
    state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(counter.nodesExpanded),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

void BM_MarkReachable_Open(benchmark::State& s) {
    Flood<Pathfinder>(s, false);
}
void BM_MarkReachable_Maze(benchmark::State& s) {
    Flood<Pathfinder>(s, true);
}
void BM_FindPath_Open(benchmark::State& s) {
    Route<Pathfinder>(s, false);
}
void BM_FindPath_Maze(benchmark::State& s) {
    Route<Pathfinder>(s, true);
}
void BM_PlainMarkReachable_Open(benchmark::State& s) {
    Flood<ReferencePathfinder>(s, false);
}
void BM_PlainFindPath_Open(benchmark::State& s) {
    Route<ReferencePathfinder>(s, false);
}

BENCHMARK(BM_MarkReachable_Open)->Arg(32)->Arg(64)->Arg(128)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkReachable_Maze)->Arg(32)->Arg(128)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindPath_Open)->Arg(32)->Arg(64)->Arg(128)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindPath_Maze)->Arg(32)->Arg(128)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainMarkReachable_Open)->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainFindPath_Open)->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond);

// Seconds per call of f, best of a few runs.
template <typename F> double Seconds(F f) {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        auto start = std::chrono::steady_clock::now();
        f();
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void PrintRatios() {
    std::printf("\nPlain linear search against the game's search (time ratio, higher is better):\n");
    for (uint32_t side : {32u, 64u}) {
        LevelMap map;
        OpenMap(map, side);
        NoUnits none;
        Mover m = WholeMapMover();
        Pathfinder fast;
        ReferencePathfinder plain;
        int32_t far = static_cast<int32_t>(side) - 1;
        double floodFast = Seconds([&] { fast.markReachable(map, none, m); });
        double floodPlain = Seconds([&] { plain.markReachable(map, none, m); });
        double routeFast = Seconds([&] {
            fast.path.clear();
            fast.findPath(map, m, far, far, false);
        });
        double routePlain = Seconds([&] {
            plain.path.clear();
            plain.findPath(map, m, far, far, false);
        });
        std::printf("  %3u x %-3u markReachable %8.3f ms vs %8.3f ms: %6.1f x   findPath %8.3f ms vs %8.3f "
                    "ms: %6.1f x\n",
                    side, side, floodPlain * 1e3, floodFast * 1e3, floodPlain / floodFast, routePlain * 1e3,
                    routeFast * 1e3, routePlain / routeFast);
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintRatios();
    return 0;
}
