#include "combat/CombatScreen.h"

#include "combat/UnitMovement.h"
#include "platform/Dialog.h"

#include <algorithm>
#include <cstdlib>

const char* const BattleMusic = "Sound Assets\\BGM\\17 - Punk'd.mp3";
const char* const SummaryLayout = "XMLFiles\\GUI\\summary.xml";
const char* const WinLayout = "XMLFiles\\GUI\\win.xml";

namespace {

const char* const CombatLayout = "XMLFiles\\GUI\\combat.xml";
const char* const PauseLayout = "XMLFiles\\GUI\\pause.xml";
const char* const OptionsLayout = "XMLFiles\\GUI\\options_p.xml";
const char* const HowToPlayLayouts[2] = {"XMLFiles\\GUI\\howtoplay1.xml", "XMLFiles\\GUI\\howtoplay2.xml"};
const char* const PageSound = "Sound Assets\\SFX\\Start_Up\\Machine_Generator_Start02.wav";

// Whether unit u goes before unit v in the turn queue.
bool GoesFirst(const Unit& u, const Unit& v) {
    int32_t up = u.owner.player;
    int32_t vp = v.owner.player;
    if (up == 0 && vp != 0) {
        return false;
    }
    if (vp == 0 && up != 0) {
        return true;
    }
    if (u.timeUsed != v.timeUsed) {
        return u.timeUsed < v.timeUsed;
    }
    return up != 1 && up < vp;
}

} // namespace

Mover MoverOf(const Unit& unit) {
    Mover m;
    m.x = unit.tileX;
    m.y = unit.tileY;
    m.player = unit.owner.player;
    m.moveRatio = unit.moveRatio;
    m.moveDist = unit.moveDist;
    m.timeUsed = unit.timeUsed;
    m.distanceUsed = unit.distanceUsed;
    return m;
}

CombatScreen::CombatScreen(LevelMap& levelMap, Pathfinder& finder, Camera& view, CombatHooks& calls,
                           RandomSource& generator, CombatClock& timer)
    : map(levelMap), pathfinder(finder), camera(view), hooks(calls), random(generator), clock(timer) {}

CombatScreen::~CombatScreen() {
    clearUnits();
}

Unit* CombatScreen::AddUnit(std::unique_ptr<Unit> unit) {
    units_.push_back(std::move(unit));
    turnQueue.push_back(units_.back().get());
    return units_.back().get();
}

Unit* CombatScreen::UnitAtTile(int32_t x, int32_t y) const {
    return FindUnitOnTile(turnQueue, x, y);
}

bool CombatScreen::UnitAt(int32_t x, int32_t y, int32_t& player) const {
    const Unit* unit = UnitAtTile(x, y);
    if (unit == nullptr) {
        return false;
    }
    player = unit->owner.player;
    return true;
}

Vector3 CombatScreen::tileCentre(int32_t x, int32_t y) const {
    return TileCentre(map, x, y);
}

void CombatScreen::clearUnits() {
    activeUnit = nullptr;
    aiTarget = nullptr;
    hoveredUnit = nullptr;
    pointer.unit = nullptr;
    mission.targets.clear();
    turnQueue.clear();
    units_.clear();
}

void CombatScreen::destroyUnit(Unit* unit) {
    if (aiTarget == unit) {
        aiTarget = nullptr;
    }
    if (hoveredUnit == unit) {
        hoveredUnit = nullptr;
    }
    if (activeUnit == unit) {
        activeUnit = nullptr;
    }
    if (pointer.unit == unit) {
        pointer.unit = nullptr;
    }
    std::erase(mission.targets, unit);
    std::erase(turnQueue, unit);
    std::erase_if(units_, [unit](const std::unique_ptr<Unit>& owned) { return owned.get() == unit; });
}

void CombatScreen::Enter() {
    if (active) {
        return;
    }
    hooks.PlaySound(BattleMusic, true, true);
    active = true;
    paused = false;
    hoveredUnit = nullptr;
    paintMode = false;
    aiTarget = nullptr;
    player1Won = false;
    player2Won = false;
    summaryDone = false;
    record.Reset();
    pointer = PointerState();
    shotsThisTurn = 0;
    // Moves of an earlier battle can never be taken back in this one.
    undo = UndoRecord{};
    showStatCards = true;
    moveMode = true;
    hooks.LoadHud(CombatLayout);
    activeUnit = nullptr;
    editMode = false;
    markersDirty = true;
    hooks.AddBattleLight();
}

void CombatScreen::Exit(Campaign* campaign) {
    if (campaign != nullptr) {
        int32_t stakes[3] = {mission.fac1, mission.fac2, mission.fac3};
        for (int i = 0; i < 3; ++i) {
            campaign->ChangeStanding(i, StakeChange(stakes[i], player1Won));
        }
        if (player1Won) {
            campaign->MarkWon(mission.fileName);
        }
    }
    if (active) {
        active = false;
        hooks.ClearParticles();
        activeUnit = nullptr;
        editMode = false;
        clearUnits();
        undo = UndoRecord{};
        shotsThisTurn = 0;
        hooks.RemoveBattleLight();
    }
    hooks.StopSound(BattleMusic);
}

void CombatScreen::EndActivation() {
    if (activeUnit != nullptr) {
        activeUnit->turnDone = true;
    }
}

void CombatScreen::RequestUndo() {
    if (activeUnit != nullptr) {
        activeUnit->undoRequested = true;
    }
}

void CombatScreen::ToggleMoveMode() {
    moveMode = !moveMode;
    markersDirty = true;
}

void CombatScreen::Requeue() {
    if (turnQueue.empty()) {
        ShowAssertionBox("THIS IS EMPTY WHAT THE HELL\n");
        return;
    }
    Unit* unit = turnQueue.front();
    turnQueue.erase(turnQueue.begin());
    auto place = std::find_if(turnQueue.begin(), turnQueue.end(),
                              [unit](const Unit* other) { return GoesFirst(*unit, *other); });
    turnQueue.insert(place, unit);

    Unit* front = turnQueue.front();
    undo = UndoRecord{front->tileX, front->tileY, 0, 0};
    front->distanceUsed = 0;
    shotsThisTurn = 0;
    int32_t lead = front->timeUsed;
    for (Unit* each : turnQueue) {
        each->timeUsed -= lead;
    }
}

void CombatScreen::startNextActivation() {
    if (activeUnit != nullptr) {
        activeUnit->turnDone = false;
        Requeue();
    }
    if (turnQueue.empty()) {
        activeUnit = nullptr;
        return;
    }
    activeUnit = turnQueue.front();
    ++activations;
    if (activeUnit->owner.isComputer) {
        lastAiActionTime = clock.Elapsed();
    }
    activeUnit->timeUsed += random.Rand() % 10 + 1;
    camera.MoveCameraTo(tileCentre(activeUnit->tileX, activeUnit->tileY), false);
    pathfinder.markReachable(map, *this, MoverOf(*activeUnit));
    markersDirty = true;
    moveMode = true;
}

void CombatScreen::applyUndo() {
    Unit& unit = *activeUnit;
    if (undo.time != 0) {
        unit.timeUsed -= undo.time;
        unit.distanceUsed -= undo.tiles;
        PlaceUnit(unit, map, undo.startX, undo.startY);
        camera.MoveCameraTo(tileCentre(undo.startX, undo.startY), false);
        undo = UndoRecord{};
    }
    unit.undoRequested = false;
    markersDirty = true;
}

bool CombatScreen::EliminationCheck() {
    bool anyOne = false;
    bool anyTwo = false;
    for (const Unit* unit : turnQueue) {
        anyOne = anyOne || unit->owner.player == 1;
        anyTwo = anyTwo || unit->owner.player == 2;
    }
    player1Won = !anyTwo;
    player2Won = !anyOne;
    return player1Won || player2Won;
}

void CombatScreen::Update(const CombatInput& input) {
    record.Tick();
    if (player1Won || player2Won) {
        activeUnit = nullptr;
        if (SummaryShown()) {
            hooks.DrawSummary(*this);
        } else {
            hooks.DrawVictory(player1Won ? 1 : 2);
        }
        return;
    }
    if (paused) {
        hooks.DrawPause();
        return;
    }
    if (input.wheelDelta != 0 && !editMode) {
        CameraAction action = input.wheelDelta >= 1 ? CameraAction::ZoomIn : CameraAction::ZoomOut;
        hooks.PostKeyDown(camera.keys.codes[static_cast<int32_t>(action)]);
    }
    if (activeUnit != nullptr && !IsWalking(*activeUnit) && markersDirty) {
        if (moveMode) {
            pathfinder.markReachable(map, *this, MoverOf(*activeUnit));
        } else {
            markAttackable();
        }
        markersDirty = false;
    }
    if (activeUnit != nullptr && activeUnit->owner.isComputer) {
        AiStep();
    } else if (input.leftClick && activeUnit != nullptr) {
        HandleClick(input.pick);
    }
    if (editMode) {
        const int32_t change = input.wheelDelta * std::abs(input.wheelDelta);
        if (paintMode && brushHeight != nullptr) {
            *brushHeight += change;
        } else if (!paintMode && selectedTile != nullptr) {
            selectedTile->elevation += change;
        }
    }
    for (Unit* unit : turnQueue) {
        TickWalk(*unit, map, hooks);
    }
    hooks.DrawBattle(*this);

    if (activeUnit == nullptr || (activeUnit->turnDone && !IsWalking(*activeUnit))) {
        if (camera.busy()) {
            return;
        }
        startNextActivation();
    }
    if (activeUnit != nullptr && activeUnit->owner.isComputer) {
        activeUnit->undoRequested = false;
    }
    if (activeUnit != nullptr && activeUnit->undoRequested && !IsWalking(*activeUnit)) {
        applyUndo();
    }
    if (EliminationCheck()) {
        // The summary page comes first; the victory picture and its layout follow when it is closed.
        summaryStart = clock.Elapsed();
        hooks.LoadHud(SummaryLayout);
    }
}

void CombatScreen::CommitMove(int32_t x, int32_t y) {
    if (activeUnit == nullptr) {
        return;
    }
    Unit& unit = *activeUnit;
    const TileSquare reach = map.ClipSquare(unit.tileX, unit.tileY, unit.moveDist);
    for (int32_t i = reach.x0; i <= reach.x1; ++i) {
        for (int32_t j = reach.y0; j <= reach.y1; ++j) {
            MapTile* tile = map.TileAt(i, j);
            if (tile != nullptr && tile->marker == TileMarker::Reachable) {
                tile->marker = TileMarker::WasReachable;
            }
        }
    }
    int32_t startX = unit.tileX;
    int32_t startY = unit.tileY;
    std::vector<PathStep>& path = pathfinder.path;
    if (!path.empty()) {
        path.pop_back();
    }
    while (!path.empty() && UnitAtTile(path.front().x, path.front().y) != nullptr) {
        path.erase(path.begin());
    }
    for (auto step = path.rbegin(); step != path.rend(); ++step) {
        unit.movementQueue.push_back(*step);
    }
    path.clear();
    camera.MoveCameraTo(tileCentre(x, y), false);
    unit.timeUsed += pathfinder.pathCost;
    unit.distanceUsed += pathfinder.pathSteps;
    if (undo.time == 0) {
        undo.startX = startX;
        undo.startY = startY;
    }
    undo.time += pathfinder.pathCost;
    undo.tiles += pathfinder.pathSteps;
    markersDirty = true;
}

void CombatScreen::CloseSummary() {
    // A key pressed for the last order as the battle ended must not skip the page unread.
    const int64_t shown = clock.Elapsed() - summaryStart;
    if (!SummaryShown() || shown * 2 < clock.Frequency()) {
        return;
    }
    summaryDone = true;
    hooks.LoadHud(WinLayout);
}

void CombatScreen::PointAt(int32_t x, int32_t y, const PickResult& pick) {
    pointer.known = true;
    pointer.x = x;
    pointer.y = y;
    pointer.unit = pick.kind == PickKind::Unit ? pick.unit : nullptr;
    pointer.onTile = pick.kind == PickKind::MapTile && pick.tile != nullptr &&
                     map.CoordinatesOf(pick.tile, pointer.tileX, pointer.tileY);
}

void CombatScreen::KeyPressed(int32_t keyCode) {
    if (SummaryShown()) {
        if (keyCode == CombatKey::Space || keyCode == CombatKey::Return) {
            CloseSummary();
        }
        return;
    }
    switch (keyCode) {
    case CombatKey::Space:
        EndActivation();
        break;
    case CombatKey::Backspace:
        RequestUndo();
        break;
    case CombatKey::LeftShift:
        ToggleMoveMode();
        break;
    case CombatKey::LeftCtrl:
        showStatCards = !showStatCards;
        break;
    default:
        break;
    }
}

void CombatScreen::HoverTile(int32_t x, int32_t y) {
    MapTile* tile = map.TileAt(x, y);
    if (!active || paused || tile == nullptr || activeUnit == nullptr || IsWalking(*activeUnit)) {
        return;
    }
    if (tile->marker == TileMarker::Reachable || tile->marker == TileMarker::Path) {
        PathStep target{x, y};
        pathfinder.MovePreview(map, *this, MoverOf(*activeUnit), &target, false);
    }
}

void CombatScreen::HandleClick(const PickResult& pick) {
    if (pick.kind == PickKind::Unit && pick.unit != nullptr) {
        if (moveMode) {
            return;
        }
        const MapTile* tile = map.TileAt(pick.unit->tileX, pick.unit->tileY);
        if (tile != nullptr && tile->marker == TileMarker::Target) {
            resolveAttack(*pick.unit);
        }
        return;
    }
    if (pick.kind != PickKind::MapTile || pick.tile == nullptr) {
        return;
    }
    int32_t x = 0;
    int32_t y = 0;
    if (!map.CoordinatesOf(pick.tile, x, y)) {
        return;
    }
    selectedTile = pick.tile;
    if (editMode) {
        if (!camera.busy()) {
            camera.MoveCameraTo(tileCentre(x, y), false);
            map.ClearMarkers();
            pick.tile->marker = TileMarker::Target;
        }
        return;
    }
    // While the unit walks its route the route's markers still show; they order nothing until it stops.
    if (activeUnit == nullptr || IsWalking(*activeUnit)) {
        return;
    }
    if (pick.tile->marker == TileMarker::Path) {
        if (UnitAtTile(x, y) == nullptr) {
            PathStep target{x, y};
            pathfinder.MovePreview(map, *this, MoverOf(*activeUnit), &target, false);
        }
    } else if (pick.tile->marker == TileMarker::PathEnd) {
        CommitMove(x, y);
    }
}

void CombatScreen::TogglePause() {
    if (paused) {
        paused = false;
        if (optionsShown) {
            optionsShown = false;
            hooks.ShowOptions(false);
        }
        hooks.LoadHud(CombatLayout);
        return;
    }
    if (!active || player1Won || player2Won) {
        return;
    }
    paused = true;
    pausePage = 0;
    optionsShown = false;
    hooks.LoadHud(PauseLayout);
}

void CombatScreen::PauseButton(int32_t data) {
    if (!paused) {
        return;
    }
    if (data == 3) {
        pausePage = (pausePage + 1) % 3;
        if (pausePage == 0) {
            hooks.LoadHud(PauseLayout);
        } else {
            hooks.PlaySound(PageSound, false, false);
            hooks.LoadHud(HowToPlayLayouts[pausePage - 1]);
        }
    } else if (data == 4) {
        optionsShown = !optionsShown;
        if (optionsShown) {
            hooks.LoadHud(OptionsLayout);
            hooks.ShowOptions(true);
        } else {
            hooks.ShowOptions(false);
            hooks.LoadHud(PauseLayout);
        }
    }
}
