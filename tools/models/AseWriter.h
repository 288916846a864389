#pragma once

#include "Mesh.h"

#include <string>
#include <vector>

// One sample of a node's animation, at a frame, in world space: where its pivot is and how it is turned.
struct AseSample {
    int frame = 0;
    Vec3 position;
    Vec3 axis{0, 0, 1};
    float angle = 0.0f; // radians
};

// One geometry object of a model file. Vertices are in world space; the pivot is the node's position.
struct AseNode {
    std::string name;
    std::string parent; // empty for the root
    Vec3 pivot;
    Mesh mesh;
    std::vector<AseSample> samples; // empty: not animated
};

// Frames of the exported scenes are this many ticks long.
inline constexpr int aseTicksPerFrame = 160;

// Writes the nodes as an ASCII scene export (parents before children); false with a message on failure.
bool WriteAse(const std::string& nativePath, const std::vector<AseNode>& nodes, int lastFrame);
