#include "combat/LevelMap.h"

#include "data/Unit.h"
#include "platform/Dialog.h"
#include "platform/DurableSave.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <tinyxml2.h>

const char* const LevelMap::TextureFiles[LevelMap::TextureCount] = {
    "Art Assets\\grass_texture.png",
    "Art Assets\\dirt_texture.png",
    "Art Assets\\water_texture.png",
    "Art Assets\\Textures\\Blue_Building_Texture.png",
    "Art Assets\\Textures\\Street_Bottom.png",
    "Art Assets\\Textures\\Street_Corner_BL.png",
    "Art Assets\\Textures\\Street_Corner_BR.png",
    "Art Assets\\Textures\\Street_Corner_TL.png",
    "Art Assets\\Textures\\Street_Corner_TR.png",
    "Art Assets\\Textures\\Street_Left.png",
    "Art Assets\\Textures\\Street_Right.png",
    "Art Assets\\Textures\\Street_Top.png",
    "Art Assets\\Textures\\Street.png",
    "Art Assets\\Textures\\Street_Left_NL.png",
    "Art Assets\\Textures\\Street_Right_NL.png",
    "Art Assets\\Textures\\Street_Top_NL.png",
    "Art Assets\\Textures\\Street_Bottom_NL.png",
    "Art Assets\\Textures\\Pitch_Blue_Building_Texture.png",
    "Art Assets\\Textures\\Pitch_Silver_Building_Texture.png",
    "Art Assets\\Textures\\Silver_Building_Texture.png",
    "Art Assets\\Textures\\Green_Building_Texture.png",
    "Art Assets\\Textures\\Corner_BL.png",
    "Art Assets\\Textures\\Corner_BR.png",
    "Art Assets\\Textures\\Corner_TL.png",
    "Art Assets\\Textures\\Corner_TR.png",
};

int32_t SequentialPickIds::NewPickColour() {
    ++inUse_;
    return next_++;
}

void SequentialPickIds::ReleasePickColour(int32_t id) {
    if (id != 0 && inUse_ > 0) {
        --inUse_;
    }
}

LevelMap::LevelMap() = default;

LevelMap::~LevelMap() {
    Clear();
}

void LevelMap::SetPickIds(PickIdSource* source) {
    pickIds_ = source;
}

PickIdSource& LevelMap::ids() {
    return pickIds_ != nullptr ? *pickIds_ : ownIds_;
}

namespace {

const char* const OpenFailedText = "Could not open file for reading";

// Reads a side length: decimal digits only, 1 to MaxSide. Anything else is refused.
bool ParseSide(const char* text, uint32_t& side) {
    if (text == nullptr) {
        return false;
    }
    std::string s(text);
    size_t begin = s.find_first_not_of(" \t\r\n");
    size_t end = s.find_last_not_of(" \t\r\n");
    if (begin == std::string::npos) {
        return false;
    }
    s = s.substr(begin, end - begin + 1);
    if (s.empty() || s.size() > 7) {
        return false;
    }
    uint32_t value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    if (value == 0 || value > LevelMap::MaxSide) {
        return false;
    }
    side = value;
    return true;
}

// Reads exactly count values of one row; false when the row is missing, short or not numeric.
template <typename T> bool ReadRow(const tinyxml2::XMLElement* row, uint32_t count, std::vector<T>& values) {
    values.clear();
    if (row == nullptr) {
        return false;
    }
    const char* text = row->GetText();
    std::istringstream in(text != nullptr ? text : "");
    for (uint32_t i = 0; i < count; ++i) {
        T value{};
        if (!(in >> value)) {
            return false;
        }
        values.push_back(value);
    }
    return true;
}

} // namespace

bool LevelMap::Load(const std::string& fileName) {
    // The name changes only with a successful load, so a failed one cannot make Save write the old grid
    // over another file.
    std::string name = fileName.empty() ? fileName_ : fileName;
    std::string path = folder_ + name;
    tinyxml2::XMLDocument doc;
    if (name.empty() || doc.LoadFile(NativePath(path).c_str()) != tinyxml2::XML_SUCCESS) {
        ShowErrorBox(OpenFailedText);
        return false;
    }
    auto refuse = [&](const std::string& why) {
        ShowErrorBox("Level map " + path + " was not loaded: " + why);
        return false;
    };
    const tinyxml2::XMLElement* root = doc.FirstChildElement("mapdata");
    if (root == nullptr) {
        return refuse("missing \"mapdata\"");
    }
    const char* layerNames[] = {"width", "height", "elevation", "passable", "texture"};
    const tinyxml2::XMLElement* parts[5] = {};
    const tinyxml2::XMLElement* previous = nullptr;
    for (int i = 0; i < 5; ++i) {
        parts[i] = previous == nullptr ? root->FirstChildElement(layerNames[i])
                                       : previous->NextSiblingElement(layerNames[i]);
        if (parts[i] == nullptr) {
            return refuse(std::string("missing \"") + layerNames[i] + "\"");
        }
        previous = parts[i];
    }
    uint32_t newWidth = 0;
    uint32_t newHeight = 0;
    if (!ParseSide(parts[0]->GetText(), newWidth)) {
        return refuse("width must be a whole number from 1 to " + std::to_string(MaxSide));
    }
    if (!ParseSide(parts[1]->GetText(), newHeight)) {
        return refuse("height must be a whole number from 1 to " + std::to_string(MaxSide));
    }

    std::vector<MapTile> grid(static_cast<size_t>(newWidth) * newHeight);
    const tinyxml2::XMLElement* rows[3] = {parts[2]->FirstChildElement("row"),
                                           parts[3]->FirstChildElement("row"),
                                           parts[4]->FirstChildElement("row")};
    std::vector<int32_t> elevations;
    std::vector<float> passCosts;
    std::vector<int32_t> textureValues;
    for (uint32_t y = 0; y < newHeight; ++y) {
        if (!ReadRow(rows[0], newWidth, elevations) || !ReadRow(rows[1], newWidth, passCosts) ||
            !ReadRow(rows[2], newWidth, textureValues)) {
            return refuse("row " + std::to_string(y) + " is missing or holds fewer than " +
                          std::to_string(newWidth) + " numbers");
        }
        for (uint32_t x = 0; x < newWidth; ++x) {
            MapTile& tile = grid[x + static_cast<size_t>(y) * newWidth];
            tile.elevation = elevations[x];
            tile.passable = SanePassCost(passCosts[x]);
            tile.texture = textureValues[x];
        }
        for (auto& row : rows) {
            row = row->NextSiblingElement("row");
        }
    }

    ReleasePickIds();
    tiles_ = std::move(grid);
    width_ = newWidth;
    height_ = newHeight;
    fileName_ = name;
    AssignPickIds();
    return true;
}

std::string FormatPassCost(float value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

bool LevelMap::Save() {
    tinyxml2::XMLDocument doc;
    doc.InsertEndChild(doc.NewDeclaration("xml version=\"1.0\""));
    tinyxml2::XMLElement* root = doc.NewElement("mapdata");
    doc.InsertEndChild(root);
    root->InsertNewChildElement("width")->SetText(width_);
    root->InsertNewChildElement("height")->SetText(height_);
    tinyxml2::XMLElement* layers[3] = {root->InsertNewChildElement("elevation"),
                                       root->InsertNewChildElement("passable"),
                                       root->InsertNewChildElement("texture")};
    for (uint32_t y = 0; y < height_; ++y) {
        std::string text[3];
        for (uint32_t x = 0; x < width_; ++x) {
            const MapTile& tile = tiles_[x + static_cast<size_t>(y) * width_];
            if (x > 0) {
                for (std::string& row : text) {
                    row.push_back(' ');
                }
            }
            text[0].append(std::to_string(tile.elevation));
            text[1].append(FormatPassCost(tile.passable));
            text[2].append(std::to_string(tile.texture));
        }
        for (int i = 0; i < 3; ++i) {
            layers[i]->InsertNewChildElement("row")->SetText(text[i].c_str());
        }
    }
    tinyxml2::XMLPrinter printer;
    doc.Print(&printer);
    std::string error;
    if (fileName_.empty()) {
        ShowErrorBox(SaveFailedText("", "the map has no file name"));
        return false;
    }
    if (SaveFileDurably(FilePath(), std::string_view(printer.CStr(), printer.CStrSize() - 1), error)) {
        return true;
    }
    ShowErrorBox(SaveFailedText(FilePath(), error));
    return false;
}

void LevelMap::Resize(uint32_t newWidth, uint32_t newHeight) {
    if (newWidth == 0) {
        newWidth = width_;
    }
    if (newHeight == 0) {
        newHeight = height_;
    }
    if (newWidth == 0 || newHeight == 0) {
        return; // an empty map has no side to keep
    }
    if (newWidth > MaxSide || newHeight > MaxSide) {
        ShowErrorBox("A level map side cannot exceed " + std::to_string(MaxSide) + " tiles");
        return;
    }
    if (newWidth == width_ && newHeight == height_) {
        return;
    }
    std::vector<MapTile> grid(static_cast<size_t>(newWidth) * newHeight);
    uint32_t maxW = std::max(newWidth, width_);
    uint32_t maxH = std::max(newHeight, height_);
    for (uint32_t x = 0; x < maxW; ++x) {
        for (uint32_t y = 0; y < maxH; ++y) {
            bool inOld = x < width_ && y < height_;
            bool inNew = x < newWidth && y < newHeight;
            if (inOld && inNew) {
                grid[x + static_cast<size_t>(y) * newWidth] = tiles_[x + static_cast<size_t>(y) * width_];
            } else if (inOld) {
                int32_t& id = tiles_[x + static_cast<size_t>(y) * width_].pickId;
                if (id != 0) {
                    ids().ReleasePickColour(id);
                    id = 0;
                }
            } else if (inNew) {
                grid[x + static_cast<size_t>(y) * newWidth].pickId = ids().NewPickColour();
            }
        }
    }
    tiles_ = std::move(grid);
    width_ = newWidth;
    height_ = newHeight;
}

void LevelMap::Clear() {
    ReleasePickIds();
    tiles_.clear();
    width_ = 0;
    height_ = 0;
}

MapTile* LevelMap::TileAt(int32_t x, int32_t y) {
    if (static_cast<uint32_t>(x) >= width_ || static_cast<uint32_t>(y) >= height_) {
        return nullptr;
    }
    return &tiles_[static_cast<uint32_t>(x) + static_cast<size_t>(y) * width_];
}

const MapTile* LevelMap::TileAt(int32_t x, int32_t y) const {
    if (static_cast<uint32_t>(x) >= width_ || static_cast<uint32_t>(y) >= height_) {
        return nullptr;
    }
    return &tiles_[static_cast<uint32_t>(x) + static_cast<size_t>(y) * width_];
}

bool LevelMap::CoordinatesOf(const MapTile* tile, int32_t& x, int32_t& y) const {
    x = -1;
    y = -1;
    if (tiles_.empty() || tile < tiles_.data() || tile >= tiles_.data() + tiles_.size()) {
        return false;
    }
    size_t index = static_cast<size_t>(tile - tiles_.data());
    x = static_cast<int32_t>(index % width_);
    y = static_cast<int32_t>(index / width_);
    return true;
}

MapTile* LevelMap::TileByPickId(int32_t id) {
    for (uint32_t x = 0; x < width_; ++x) {
        for (uint32_t y = 0; y < height_; ++y) {
            MapTile& tile = tiles_[x + static_cast<size_t>(y) * width_];
            if (tile.pickId == id) {
                return &tile;
            }
        }
    }
    return nullptr;
}

void LevelMap::ClearMarkers() {
    for (MapTile& tile : tiles_) {
        tile.marker = TileMarker::None;
    }
}

void LevelMap::AssignPickIds() {
    for (MapTile& tile : tiles_) {
        if (tile.pickId != 0) {
            ids().ReleasePickColour(tile.pickId);
        }
        tile.pickId = ids().NewPickColour();
    }
}

void LevelMap::ReleasePickIds() {
    for (MapTile& tile : tiles_) {
        if (tile.pickId != 0) {
            ids().ReleasePickColour(tile.pickId);
            tile.pickId = 0;
        }
    }
}

int32_t LevelMap::TextureIndexOf(const MapTile& tile) {
    return tile.texture >= 0 && tile.texture < TextureCount ? tile.texture : 0;
}

static_assert(LevelMap::MaxSide == kMaxTileReach, "a unit's reach is held to the widest map");

float SanePassCost(float value) {
    return std::isfinite(value) && value > 0.0f ? value : 0.0f;
}

TileSquare LevelMap::ClipSquare(int32_t x, int32_t y, int32_t radius) const {
    TileSquare square;
    if (radius < 0 || tiles_.empty()) {
        return square;
    }
    const int64_t lastX = static_cast<int64_t>(width_) - 1;
    const int64_t lastY = static_cast<int64_t>(height_) - 1;
    square.x0 = static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(x) - radius, 0, lastX + 1));
    square.x1 = static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(x) + radius, -1, lastX));
    square.y0 = static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(y) - radius, 0, lastY + 1));
    square.y1 = static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(y) + radius, -1, lastY));
    return square;
}
