#pragma once

#include "render/Maths.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A model is a tree of ModelNodes: each node holds a triangle mesh in its own space, its transform relative
// to its parent, keyframe tracks and two compiled display lists (kept here as plain list names, so the
// data can be built and tested without a GL context; the lists are compiled by the gl library).

// Built-in meshes made in code instead of read from a file.
enum ProceduralType : int32_t {
    ProceduralNone = 0,
    ProceduralTileBlock = 6,
    ProceduralTileMarker = 7,
    ProceduralActiveMarker = 8,
};

struct VertexColour {
    float r = 1.0f;
    float g = 1.0f;
    float b = 1.0f;
    float a = 1.0f;
};

struct ModelVertex {
    Vector3 position;
    Vector3 normal;
    VertexColour colour;
};

struct ModelFace {
    uint32_t vertices[3] = {0, 0, 0};
    uint32_t texVertices[3] = {0, 0, 0};
    Vector3 normal;
};

struct TexVertex {
    float u = 0.0f;
    float v = 0.0f;
};

// A vertex that no triangle uses: a mount or effect point of the model.
struct MarkerPoint {
    uint32_t vertex = 0;
    Vector3 offset;
    int32_t kind = 0;
    Vector3 direction;
};

struct AnimationKey {
    Transform transform;
    uint32_t frame = 0;
};

// The change of one frame between two consecutive keys.
struct FrameStep {
    Vector3 position;
    Quat rotation;
    float scale = 1.0f;
};

struct AnimationTrack {
    uint32_t keyCount = 0;
    uint32_t length = 0;
    std::vector<AnimationKey> keys;
    std::vector<FrameStep> steps;

    // Recomputes one step per pair of consecutive keys.
    void ComputeSteps();
};

struct ModelNode {
    ModelNode() = default;
    // Deletes the node's two display lists (through the releaser the gl library installs) and its children.
    ~ModelNode();
    ModelNode(const ModelNode&) = delete;
    ModelNode& operator=(const ModelNode&) = delete;

    // Sets the texture and the textured flag, on every descendant too when recursive.
    void SetNodeTexture(uint32_t texture, bool recursive);
    // Fills an empty node with the built-in mesh of the type (6, 7 or 8) and stores the type; no lists yet.
    void FillProceduralMesh(int32_t type);
    // Face normals, vertex normals and animation steps: the part of list building that needs no GL.
    void PrepareForDrawing();

    // Compiles fullList and plainList for this node and its children, deleting older lists first (gl
    // library).
    void BuildDisplayLists();
    // Emits the node's triangles; full adds texture coordinates and colours, and binds the node's texture
    // (a textured node with texture 0 uses the texture the caller bound) (gl library).
    void DrawMesh(bool full) const;
    // Sets the texture on the whole tree and returns a new list of this node's own triangles; the caller owns
    // it.
    uint32_t MakeTexturedList(uint32_t texture);
    // Fills an empty node with a built-in mesh and builds its display lists (gl library).
    void BuildProceduralModel(int32_t type);

    // Number of nodes in this subtree, this one included.
    int CountNodes() const;
    // The first node of the subtree, depth first, whose name equals the given one ignoring case.
    ModelNode* FindNode(const std::string& nodeName);

    bool textured = false;
    uint32_t texture = 0;
    bool animated = false;
    Transform transform;
    uint32_t fullList = 0;
    uint32_t plainList = 0;
    int32_t proceduralType = ProceduralNone;
    std::string name;
    std::vector<MarkerPoint> markerPoints;
    std::vector<ModelVertex> vertices;
    std::vector<ModelFace> faces;
    std::vector<TexVertex> texVertices;
    std::vector<AnimationTrack> tracks;
    std::vector<std::unique_ptr<ModelNode>> children;
};

// Deletes one display list; installed by the gl library the first time it compiles one.
using DisplayListReleaser = void (*)(uint32_t list);
// Installs the function that node destruction uses to delete display lists.
void SetDisplayListReleaser(DisplayListReleaser releaser);
// Deletes a list through the installed releaser and counts it gone; 0 is no list and is ignored.
void ReleaseDisplayList(uint32_t list);
// Counts a list just compiled (the gl library calls it for every list it makes).
void CountCompiledDisplayList();
// Display lists compiled and not yet deleted, over the whole process: a cheap gauge for leak tests.
int64_t LiveDisplayListCount();

// Advances a drawn copy of an animated node by one frame: loops the counter over the track's length, copies a
// key that falls on the counter, otherwise applies the step of the segment the counter lies in.
void StepAnimation(const ModelNode& node, int trackIndex, int32_t& frameCounter, Transform& transform);
