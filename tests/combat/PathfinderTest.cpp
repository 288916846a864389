#include "combat/Pathfinder.h"
#include "../../bench/ReferencePathfinder.h"

#include <gtest/gtest.h>
#include <map>
#include <random>

namespace {

class Units : public UnitOccupancy {
public:
    bool UnitAt(int32_t x, int32_t y, int32_t& player) const override {
        auto it = players.find({x, y});
        if (it == players.end()) {
            return false;
        }
        player = it->second;
        return true;
    }
    std::map<std::pair<int32_t, int32_t>, int32_t> players;
};

Mover MoverAt(int32_t x, int32_t y, int32_t moveDist, int32_t moveRatio = 10) {
    Mover m;
    m.x = x;
    m.y = y;
    m.moveDist = moveDist;
    m.moveRatio = moveRatio;
    return m;
}

std::string Markers(const LevelMap& map) {
    std::string s;
    for (uint32_t y = 0; y < map.height(); ++y) {
        for (uint32_t x = 0; x < map.width(); ++x) {
            s += static_cast<char>(
                '0' + static_cast<int>(map.TileAt(static_cast<int32_t>(x), static_cast<int32_t>(y))->marker));
        }
        s += '\n';
    }
    return s;
}

// Two equal maps of w x h tiles, each tile's pass cost drawn from costs and its elevation below levels.
template <size_t N>
void RandomTwinMaps(LevelMap& a, LevelMap& b, int32_t w, int32_t h, std::mt19937& rng, const float (&costs)[N],
                    uint32_t levels) {
    a.Resize(static_cast<uint32_t>(w), static_cast<uint32_t>(h));
    b.Resize(static_cast<uint32_t>(w), static_cast<uint32_t>(h));
    for (size_t i = 0; i < a.tiles().size(); ++i) {
        a.tiles()[i].passable = costs[rng() % N];
        a.tiles()[i].elevation = static_cast<int32_t>(rng() % levels);
        b.tiles()[i] = a.tiles()[i];
    }
}

} // namespace

TEST(Pathfinder, FloodReachesExactlyTheSquareOfMoveDist) {
    LevelMap map;
    map.Resize(11, 11);
    Pathfinder finder;
    NoUnits none;
    finder.markReachable(map, none, MoverAt(5, 5, 3));
    for (int32_t y = 0; y < 11; ++y) {
        for (int32_t x = 0; x < 11; ++x) {
            bool inside = std::max(std::abs(x - 5), std::abs(y - 5)) <= 3;
            // The mover's own tile is passable and unoccupied here, so it is marked too.
            EXPECT_EQ(map.TileAt(x, y)->marker == TileMarker::Reachable, inside) << x << "," << y << "\n"
                                                                                 << Markers(map);
        }
    }
}

TEST(Pathfinder, FloodAcceptsExactlyTheHundredthTimeUnit) {
    LevelMap map;
    map.Resize(5, 5);
    for (MapTile& t : map.tiles()) {
        t.passable = 0.5f;
    }
    map.TileAt(3, 2)->passable = 0.6f;
    Pathfinder finder;
    NoUnits none;
    Mover m = MoverAt(2, 2, 5);
    m.timeUsed = 95;
    finder.markReachable(map, none, m);
    EXPECT_EQ(map.TileAt(1, 2)->marker, TileMarker::Reachable);
    EXPECT_EQ(map.TileAt(1, 1)->marker, TileMarker::Reachable) << "diagonal costs 5.0001, truncated 5";
    EXPECT_EQ(map.TileAt(3, 2)->marker, TileMarker::None) << "cost 6 is over the budget";
    EXPECT_EQ(map.TileAt(0, 2)->marker, TileMarker::None);
}

TEST(Pathfinder, FloodRespectsCornersWhileFindPathCutsThem) {
    // Walls at (1,0) and (0,1) around the corner from (0,0) to (1,1).
    LevelMap map;
    map.Resize(3, 3);
    map.TileAt(1, 0)->passable = 0.0f;
    map.TileAt(0, 1)->passable = 0.0f;
    Pathfinder finder;
    NoUnits none;
    finder.markReachable(map, none, MoverAt(0, 0, 5));
    EXPECT_EQ(map.TileAt(1, 1)->marker, TileMarker::None);
    map.ClearMarkers();
    finder.path.clear();
    ASSERT_TRUE(finder.findPath(map, MoverAt(0, 0, 5), 1, 1, false));
    ASSERT_EQ(finder.path.size(), 2u);
    EXPECT_EQ(finder.pathSteps, 1);
    EXPECT_EQ(finder.pathCost, 10);
}

TEST(Pathfinder, PrefersFewerDiagonalsAndReturnsEndFirst) {
    LevelMap map;
    map.Resize(6, 3);
    Pathfinder finder;
    ASSERT_TRUE(finder.findPath(map, MoverAt(0, 1, 10), 4, 1, false));
    ASSERT_EQ(finder.path.size(), 5u);
    for (size_t i = 0; i < finder.path.size(); ++i) {
        EXPECT_EQ(finder.path[i].y, 1) << "a straight row beats any route with diagonals";
        EXPECT_EQ(finder.path[i].x, static_cast<int32_t>(4 - i));
    }
    EXPECT_EQ(finder.pathCost, 40);
    EXPECT_EQ(finder.pathSteps, 4);
    finder.path.clear();
    EXPECT_TRUE(finder.findPath(map, MoverAt(0, 1, 10), 0, 1, false));
    EXPECT_EQ(finder.pathCost, 0);
}

TEST(Pathfinder, EnemyIsTargetAndTilesBehindItStayReachable) {
    // A corridor one tile wide: the enemy blocks it, yet the flood goes through its tile.
    LevelMap map;
    map.Resize(5, 3);
    for (int32_t x = 0; x < 5; ++x) {
        map.TileAt(x, 0)->passable = 0.0f;
        map.TileAt(x, 2)->passable = 0.0f;
    }
    Units units;
    units.players[{0, 1}] = 1;
    units.players[{2, 1}] = 2;
    units.players[{3, 1}] = 1;
    Pathfinder finder;
    finder.markReachable(map, units, MoverAt(0, 1, 4));
    EXPECT_EQ(map.TileAt(0, 1)->marker, TileMarker::None);
    EXPECT_EQ(map.TileAt(1, 1)->marker, TileMarker::Reachable);
    EXPECT_EQ(map.TileAt(2, 1)->marker, TileMarker::Target);
    EXPECT_EQ(map.TileAt(3, 1)->marker, TileMarker::None) << "a friend's tile is never marked";
    EXPECT_EQ(map.TileAt(4, 1)->marker, TileMarker::Reachable);
    // The search that plans routes does not enter the enemy's tile.
    finder.path.clear();
    EXPECT_FALSE(finder.findPath(map, MoverAt(0, 1, 4), 4, 1, false));
    EXPECT_EQ(finder.pathCost, 0);
}

TEST(Pathfinder, PreviewMarksRouteAndDropsWhatTheUnitCannotAfford) {
    LevelMap map;
    map.Resize(8, 8);
    Pathfinder finder;
    NoUnits none;
    Mover m = MoverAt(1, 1, 4);
    PathStep target{3, 1};
    finder.MovePreview(map, none, m, &target, false);
    ASSERT_EQ(finder.path.size(), 3u);
    EXPECT_EQ(map.TileAt(3, 1)->marker, TileMarker::PathEnd);
    EXPECT_EQ(map.TileAt(2, 1)->marker, TileMarker::Path);
    EXPECT_EQ(map.TileAt(1, 1)->marker, TileMarker::Path);
    PathStep own{1, 1};
    finder.MovePreview(map, none, m, &own, false);
    EXPECT_TRUE(finder.path.empty());
    m.timeUsed = 85;
    finder.MovePreview(map, none, m, &target, false);
    EXPECT_TRUE(finder.path.empty()) << "20 more would pass the budget";
    // Limited: the route ends at the first node that uses up the distance.
    m.timeUsed = 0;
    m.moveDist = 2;
    PathStep far{7, 1};
    finder.MovePreview(map, none, m, &far, true);
    ASSERT_FALSE(finder.path.empty());
    EXPECT_EQ(finder.pathSteps, 2);
    EXPECT_EQ(finder.path.front().x, 3);
    EXPECT_EQ(finder.pathCost, 60) << "cost so far plus the remaining distance";
}

TEST(Pathfinder, AgreesWithThePlainSearchOnRandomMaps) {
    std::mt19937 rng(20261208);
    const float costs[] = {0.0f, 0.5f, 1.0f, 1.0f, 1.0f, 1.5f, 2.0f, 2.5f, 3.0f};
    for (int round = 0; round < 60; ++round) {
        int32_t w = 4 + static_cast<int32_t>(rng() % 14);
        int32_t h = 4 + static_cast<int32_t>(rng() % 14);
        LevelMap fastMap, plainMap;
        RandomTwinMaps(fastMap, plainMap, w, h, rng, costs, 5);
        Units units;
        for (int u = 0; u < 6; ++u) {
            units.players[{static_cast<int32_t>(rng() % w), static_cast<int32_t>(rng() % h)}] =
                1 + static_cast<int32_t>(rng() % 2);
        }
        Mover m = MoverAt(static_cast<int32_t>(rng() % w), static_cast<int32_t>(rng() % h),
                          1 + static_cast<int32_t>(rng() % 12), 1 + static_cast<int32_t>(rng() % 20));
        m.timeUsed = static_cast<int32_t>(rng() % 60);
        m.distanceUsed = static_cast<int32_t>(rng() % 3);
        m.player = 1 + static_cast<int32_t>(rng() % 2);
        Pathfinder fast;
        ReferencePathfinder plain;
        fast.markReachable(fastMap, units, m);
        plain.markReachable(plainMap, units, m);
        ASSERT_EQ(Markers(fastMap), Markers(plainMap)) << "round " << round;
        for (int q = 0; q < 8; ++q) {
            int32_t tx = static_cast<int32_t>(rng() % w);
            int32_t ty = static_cast<int32_t>(rng() % h);
            bool limited = (q % 2) == 1;
            fast.path.clear();
            plain.path.clear();
            bool a = fast.findPath(fastMap, m, tx, ty, limited);
            bool b = plain.findPath(plainMap, m, tx, ty, limited);
            ASSERT_EQ(a, b) << "round " << round << " query " << q;
            ASSERT_EQ(fast.pathCost, plain.pathCost) << "round " << round << " query " << q;
            ASSERT_EQ(fast.pathSteps, plain.pathSteps);
            ASSERT_EQ(fast.goalX, plain.goalX);
            ASSERT_EQ(fast.goalY, plain.goalY);
            ASSERT_EQ(fast.path.size(), plain.path.size());
            for (size_t i = 0; i < fast.path.size(); ++i) {
                ASSERT_EQ(fast.path[i].x, plain.path[i].x);
                ASSERT_EQ(fast.path[i].y, plain.path[i].y);
            }
        }
    }
}

TEST(Pathfinder, FloodAgreesWithThePlainSearchWhereCostsAreNegative) {
    // Negative pass costs and a zero move ratio take the flood off its whole-number keys.
    std::mt19937 rng(7051);
    const float costs[] = {-1.0f, -0.5f, 0.0f, 1.0f, 1.0f, 2.0f, 3.0f};
    for (int round = 0; round < 80; ++round) {
        const int32_t w = 3 + static_cast<int32_t>(rng() % 12);
        const int32_t h = 3 + static_cast<int32_t>(rng() % 12);
        LevelMap fastMap, plainMap;
        RandomTwinMaps(fastMap, plainMap, w, h, rng, costs, 4);
        Units units;
        units.players[{static_cast<int32_t>(rng() % w), static_cast<int32_t>(rng() % h)}] = 2;
        Mover m = MoverAt(static_cast<int32_t>(rng() % w), static_cast<int32_t>(rng() % h),
                          1 + static_cast<int32_t>(rng() % 8), static_cast<int32_t>(rng() % 3) * 10);
        m.player = 1;
        Pathfinder fast;
        ReferencePathfinder plain;
        fast.markReachable(fastMap, units, m);
        plain.markReachable(plainMap, units, m);
        ASSERT_EQ(Markers(fastMap), Markers(plainMap)) << "round " << round;
    }
}
