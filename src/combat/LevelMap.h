#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The battle grid: a rectangle of square tiles with elevations, pass costs and textures, read from and
// written to the level map files under "XMLFiles\Missions\Levels\".

// Overlay code of a tile, shown over the battlefield.
enum class TileMarker : int32_t {
    None = 0,
    Reachable = 1,
    WasReachable = 2,
    Target = 3,
    Path = 5,
    PathEnd = 6,
};

// One cell of the grid.
struct MapTile {
    int32_t elevation = 1;
    float passable = 1.0f;
    int32_t pickId = 0;
    TileMarker marker = TileMarker::None;
    int32_t texture = 0;
};

// The inclusive tile bounds of a square of the grid; empty when x0 > x1 or y0 > y1.
struct TileSquare {
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t x1 = -1;
    int32_t y1 = -1;
    bool empty() const { return x0 > x1 || y0 > y1; }
};

// Hands out and takes back the colour-picking ids of tiles; the picking registry implements it.
class PickIdSource {
public:
    virtual ~PickIdSource() = default;
    // Returns a fresh, non-zero id that no live object holds.
    virtual int32_t NewPickColour() = 0;
    // Makes the id available again; unknown ids are ignored.
    virtual void ReleasePickColour(int32_t id) = 0;
};

// Counts ids upwards from 1; used when no registry is attached (tools, tests).
class SequentialPickIds : public PickIdSource {
public:
    int32_t NewPickColour() override;
    void ReleasePickColour(int32_t id) override;
    // Number of ids handed out and not released.
    int32_t inUse() const { return inUse_; }

private:
    int32_t next_ = 1;
    int32_t inUse_ = 0;
};

class LevelMap {
public:
    // Largest accepted width or height; larger files are rejected.
    static constexpr uint32_t MaxSide = 1024;
    // Number of tile textures the game ships; other texture values draw as texture 0.
    static constexpr int32_t TextureCount = 25;
    // Size of the texture table.
    static constexpr int32_t TextureTableSize = 32;
    // The picture of each tile texture index, in the game's spelling.
    static const char* const TextureFiles[TextureCount];

    LevelMap();
    ~LevelMap();
    LevelMap(const LevelMap&) = delete;
    LevelMap& operator=(const LevelMap&) = delete;

    // Uses the given id source for picking ids (null: the map's own counter); call while the map is empty.
    void SetPickIds(PickIdSource* source);
    // Changes the folder the file name is joined to (default "XMLFiles\Missions\Levels\").
    void SetFolder(const std::string& folder) { folder_ = folder; }

    // Loads the named file (empty: reloads the current one) and takes its name. On any fault shows a
    // message, keeps the old grid and name, and returns false.
    bool Load(const std::string& fileName = std::string());
    // Writes the grid under its file name through a temporary file; a failed save leaves the old file whole.
    bool Save();
    // Changes the size, keeping the overlapping tiles; 0 keeps a side. Sides above MaxSide are refused.
    void Resize(uint32_t newWidth, uint32_t newHeight);
    // Releases every picking id and empties the grid.
    void Clear();

    // The tile at (x, y), or null outside the grid.
    MapTile* TileAt(int32_t x, int32_t y);
    // The tile at (x, y), or null outside the grid.
    const MapTile* TileAt(int32_t x, int32_t y) const;
    // The part of the square of the given radius around (x, y) that lies on the grid: a loop over a range
    // never visits more tiles than the grid has. Empty for a negative radius or a square beside the grid.
    TileSquare ClipSquare(int32_t x, int32_t y, int32_t radius) const;
    // Writes the coordinates of a tile of this grid and returns true; (-1, -1) and false otherwise.
    bool CoordinatesOf(const MapTile* tile, int32_t& x, int32_t& y) const;
    // The first tile, column by column, whose picking id is id; null when none.
    MapTile* TileByPickId(int32_t id);
    // Sets every marker to None.
    void ClearMarkers();
    // Gives every tile a fresh picking id.
    void AssignPickIds();
    // Returns every tile's picking id to the source and sets it to 0.
    void ReleasePickIds();

    // The texture table index a tile draws with: its texture, or 0 when that is not a shipped texture.
    static int32_t TextureIndexOf(const MapTile& tile);
    // The texture handle a tile draws with, never read past the table.
    uint32_t TextureHandleOf(const MapTile& tile) const { return textures[TextureIndexOf(tile)]; }

    uint32_t width() const { return width_; }
    uint32_t height() const { return height_; }
    bool empty() const { return tiles_.empty(); }
    const std::string& fileName() const { return fileName_; }
    // Full game path of the map file.
    std::string FilePath() const { return folder_ + fileName_; }
    std::vector<MapTile>& tiles() { return tiles_; }
    const std::vector<MapTile>& tiles() const { return tiles_; }

    // Texture handles by index, filled by the renderer; 25 to 31 stay 0.
    uint32_t textures[TextureTableSize] = {};

private:
    PickIdSource& ids();

    SequentialPickIds ownIds_;
    PickIdSource* pickIds_ = nullptr;
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    std::vector<MapTile> tiles_;
    std::string fileName_;
    std::string folder_ = "XMLFiles\\Missions\\Levels\\";
};

// The pass cost a tile keeps of a value read or typed in: factors of a time budget, so negative and
// non-finite values become 0 (impassable).
float SanePassCost(float value);

// Formats a pass cost as the map files store it: six significant digits, no trailing zeros.
std::string FormatPassCost(float value);
