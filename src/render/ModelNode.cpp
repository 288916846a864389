#include "render/ModelNode.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

DisplayListReleaser listReleaser = nullptr;
int64_t liveDisplayLists = 0;

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

FrameStep StepBetween(const AnimationKey& k0, const AnimationKey& k1) {
    // Keys are kept in creation order, so a later key may carry an earlier frame; one frame is the least.
    uint32_t frames = k1.frame - k0.frame;
    float n = frames == 0 ? 1.0f : static_cast<float>(frames);
    const Transform& t0 = k0.transform;
    const Transform& t1 = k1.transform;

    FrameStep step;
    step.position = (t1.position - t0.position) / n;

    Quat q0 = t0.rotation;
    Quat q1 = t1.rotation;
    if (!EqualAfterRescale(q1, q0)) {
        float cosTheta = std::clamp(Dot(q0, q1), -1.0f, 1.0f);
        float theta = std::acos(cosTheta);
        float sinTheta = std::sin(theta);
        // Opposite or numerically equal rotations turn by nothing; keep the identity then.
        if (std::fabs(sinTheta) > 1e-7f) {
            Vector3 v0 = q0.VectorPart();
            Vector3 v1 = q1.VectorPart();
            Vector3 axis = v1 * q0.w - v0 * q1.w + Cross(v0, v1);
            float k = std::sin(theta / n) / sinTheta;
            step.rotation.Set(std::cos(theta / n), axis.x * k, axis.y * k, axis.z * k);
        }
    }

    if (t0.scale != 0.0f) {
        step.scale = std::pow(t1.scale / t0.scale, 1.0f / n);
    }
    return step;
}

void AddTriangle(ModelNode& node, uint32_t a, uint32_t b, uint32_t c, uint32_t ta, uint32_t tb, uint32_t tc) {
    ModelFace face;
    face.vertices[0] = a;
    face.vertices[1] = b;
    face.vertices[2] = c;
    face.texVertices[0] = ta;
    face.texVertices[1] = tb;
    face.texVertices[2] = tc;
    node.faces.push_back(face);
}

void AddVertex(ModelNode& node, float x, float y, float z, VertexColour colour) {
    ModelVertex vertex;
    vertex.position = {x, y, z};
    vertex.colour = colour;
    node.vertices.push_back(vertex);
}

void FillTileBlock(ModelNode& node) {
    node.textured = true;
    const VertexColour white{1, 1, 1, 1};
    const float corners[8][3] = {{-2, 0, 2},    {-2, 0, -2},  {2, 0, -2},    {2, 0, 2},
                                 {-2, 0.5f, 2}, {2, 0.5f, 2}, {2, 0.5f, -2}, {-2, 0.5f, -2}};
    for (const auto& c : corners) {
        AddVertex(node, c[0], c[1], c[2], white);
    }
    const float uv[12][2] = {{0.758f, 0.2459f},  {0.758f, 0.9951f},  {0.0142f, 0.9951f}, {0.0142f, 0.2459f},
                             {0.9886f, 0.2415f}, {0.9886f, 0.9894f}, {0.7745f, 0.9894f}, {0.7745f, 0.2415f},
                             {0.0f, 0.0f},       {0.7595f, 0.0f},    {0.7595f, 0.2343f}, {0.0f, 0.2343f}};
    for (const auto& t : uv) {
        node.texVertices.push_back({t[0], t[1]});
    }
    AddTriangle(node, 4, 5, 6, 3, 0, 1);
    AddTriangle(node, 6, 7, 4, 1, 2, 3);
    AddTriangle(node, 0, 3, 5, 4, 5, 6);
    AddTriangle(node, 5, 4, 0, 6, 7, 4);
    AddTriangle(node, 3, 2, 6, 8, 9, 10);
    AddTriangle(node, 6, 5, 3, 10, 11, 8);
    AddTriangle(node, 2, 1, 7, 4, 5, 6);
    AddTriangle(node, 7, 6, 2, 6, 7, 4);
    AddTriangle(node, 1, 0, 4, 8, 9, 10);
    AddTriangle(node, 4, 7, 1, 10, 11, 8);
}

void FillTileMarker(ModelNode& node) {
    const VertexColour red{1, 0, 0, 0.85f};
    AddVertex(node, -1.95f, 0.505f, -1.95f, red);
    AddVertex(node, -1.95f, 0.505f, 1.95f, red);
    AddVertex(node, 1.95f, 0.505f, -1.95f, red);
    AddVertex(node, 1.95f, 0.505f, 1.95f, red);
    AddTriangle(node, 0, 1, 2, 0, 0, 0);
    AddTriangle(node, 1, 3, 2, 0, 0, 0);
}

void FillActiveMarker(ModelNode& node) {
    AddVertex(node, 0, 4, 0, {0, 0.9f, 0, 1});
    AddVertex(node, 0.75f, 6.5f, 0.75f, {0.2f, 1, 0, 1});
    AddVertex(node, -0.75f, 6.5f, 0.75f, {0, 0.8f, 0, 1});
    AddVertex(node, -0.75f, 6.5f, -0.75f, {0.2f, 0.9f, 0, 1});
    AddVertex(node, 0.75f, 6.5f, -0.75f, {0, 0.8f, 0, 1});
    AddVertex(node, 0, 6.5f, 0, {0, 0.9f, 0, 1});
    node.texVertices = {{0.1f, 0.5f}, {0.5f, 0.5f}, {0.9f, 0.5f}};
    AddTriangle(node, 0, 1, 2, 2, 1, 1);
    AddTriangle(node, 0, 2, 3, 2, 1, 1);
    AddTriangle(node, 0, 3, 4, 2, 1, 1);
    AddTriangle(node, 0, 4, 1, 2, 1, 1);
    AddTriangle(node, 1, 5, 2, 1, 0, 1);
    AddTriangle(node, 2, 5, 3, 1, 0, 1);
    AddTriangle(node, 3, 5, 4, 1, 0, 1);
    AddTriangle(node, 4, 5, 1, 1, 0, 1);

    // The bob: down by one unit over 45 frames and back up over the next 45.
    AnimationTrack bob;
    AnimationKey key;
    bob.keys.push_back(key);
    key.frame = 45;
    key.transform.position = {0, -1, 0};
    bob.keys.push_back(key);
    key.frame = 90;
    key.transform.position = {0, 0, 0};
    bob.keys.push_back(key);
    bob.keyCount = 3;
    bob.length = 90;
    bob.ComputeSteps();
    node.tracks.push_back(std::move(bob));
    node.animated = true;
}

} // namespace

void SetDisplayListReleaser(DisplayListReleaser releaser) {
    listReleaser = releaser;
}

void ReleaseDisplayList(uint32_t list) {
    if (list == 0) {
        return;
    }
    if (listReleaser != nullptr) {
        listReleaser(list);
    }
    --liveDisplayLists;
}

void CountCompiledDisplayList() {
    ++liveDisplayLists;
}

int64_t LiveDisplayListCount() {
    return liveDisplayLists;
}

void AnimationTrack::ComputeSteps() {
    steps.clear();
    for (size_t k = 0; k + 1 < keys.size(); ++k) {
        steps.push_back(StepBetween(keys[k], keys[k + 1]));
    }
}

ModelNode::~ModelNode() {
    ReleaseDisplayList(fullList);
    ReleaseDisplayList(plainList);
}

void ModelNode::SetNodeTexture(uint32_t newTexture, bool recursive) {
    texture = newTexture;
    textured = true;
    if (recursive) {
        for (auto& child : children) {
            child->SetNodeTexture(newTexture, true);
        }
    }
}

void ModelNode::FillProceduralMesh(int32_t type) {
    proceduralType = type;
    switch (type) {
    case ProceduralTileBlock:
        FillTileBlock(*this);
        break;
    case ProceduralTileMarker:
        FillTileMarker(*this);
        break;
    case ProceduralActiveMarker:
        FillActiveMarker(*this);
        break;
    default:
        break;
    }
}

void ModelNode::PrepareForDrawing() {
    const uint32_t vertexCount = static_cast<uint32_t>(vertices.size());
    for (ModelFace& face : faces) {
        const uint32_t a = face.vertices[0], b = face.vertices[1], c = face.vertices[2];
        if (a >= vertexCount || b >= vertexCount || c >= vertexCount) {
            face.normal = {};
            continue;
        }
        Vector3 va = vertices[a].position;
        face.normal = Cross(vertices[b].position - va, vertices[c].position - va);
    }

    for (ModelVertex& vertex : vertices) {
        vertex.normal = proceduralType == ProceduralTileBlock ? Vector3{0, 1, 0} : Vector3{};
    }
    if (proceduralType != ProceduralTileBlock) {
        for (const ModelFace& face : faces) {
            for (uint32_t index : face.vertices) {
                if (index < vertexCount) {
                    vertices[index].normal += face.normal;
                }
            }
        }
        for (ModelVertex& vertex : vertices) {
            vertex.normal.Normalise();
        }
    }

    if (animated) {
        for (AnimationTrack& track : tracks) {
            track.ComputeSteps();
        }
    }
}

int ModelNode::CountNodes() const {
    int count = 1;
    for (const auto& child : children) {
        count += child->CountNodes();
    }
    return count;
}

ModelNode* ModelNode::FindNode(const std::string& nodeName) {
    if (SameNameIgnoringCase(name, nodeName)) {
        return this;
    }
    for (auto& child : children) {
        if (ModelNode* found = child->FindNode(nodeName)) {
            return found;
        }
    }
    return nullptr;
}

void StepAnimation(const ModelNode& node, int trackIndex, int32_t& frameCounter, Transform& transform) {
    if (trackIndex < 0 || static_cast<size_t>(trackIndex) >= node.tracks.size()) {
        return;
    }
    const AnimationTrack& track = node.tracks[static_cast<size_t>(trackIndex)];

    frameCounter += 1;
    if (frameCounter < 0 || static_cast<uint32_t>(frameCounter) >= track.length) {
        frameCounter = 0;
    }
    const uint32_t frame = static_cast<uint32_t>(frameCounter);

    for (const AnimationKey& key : track.keys) {
        if (key.frame == frame) {
            transform = key.transform;
            return;
        }
    }
    for (size_t i = 0; i < track.keys.size(); ++i) {
        if (track.keys[i].frame >= frame) {
            if (i == 0 || i - 1 >= track.steps.size()) {
                return;
            }
            const FrameStep& step = track.steps[i - 1];
            transform.position += step.position;
            transform.rotation = step.rotation * transform.rotation;
            transform.scale *= step.scale;
            return;
        }
    }
}
