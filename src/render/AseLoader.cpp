#include "render/AseLoader.h"

#include "platform/Paths.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// A physical line longer than this is cut; the rest of it is skipped.
constexpr size_t maxLineLength = 511;
// Numbers longer than this are cut before conversion.
constexpr size_t maxNumberLength = 63;
// Node and parent names are cut to this length.
constexpr size_t maxNameLength = 31;
// A model tree deeper than this is flattened: deeper objects hang from the root.
constexpr int maxTreeDepth = 64;

enum AseToken {
    MeshVertex,
    MeshFace,
    MeshTVert,
    MeshTFace,
    SceneLastFrame,
    SceneTicksPerFrame,
    GeomObject,
    NodeName,
    TmPos,
    TmRotAxis,
    TmRotAngle,
    TmScale,
    NodeParent,
    TmAnimation,
    ControlRotSample,
    ControlPosSample,
    ControlScaleSample,
    WireframeColor,
    MeshVertCol,
    AniEnd,
    MaterialRef,
    UnknownToken,
};

constexpr std::string_view tokenNames[] = {
    "*MESH_VERTEX",
    "*MESH_FACE",
    "*MESH_TVERT",
    "*MESH_TFACE",
    "*SCENE_LASTFRAME",
    "*SCENE_TICKSPERFRAME",
    "*GEOMOBJECT",
    "*NODE_NAME",
    "*TM_POS",
    "*TM_ROTAXIS",
    "*TM_ROTANGLE",
    "*TM_SCALE",
    "*NODE_PARENT",
    "*TM_ANIMATION",
    "*CONTROL_ROT_SAMPLE",
    "*CONTROL_POS_SAMPLE",
    "*CONTROL_SCALE_SAMPLE",
    "*WIREFRAME_COLOR",
    "*MESH_VERTCOL",
    "*ANI_END",
    "*MATERIAL_REF",
};

// Characters above 127 end words like blanks do, as in the files' original tools.
int Code(char c) {
    return static_cast<signed char>(c);
}

bool IsWordChar(char c) {
    return Code(c) > 32;
}

bool IsBlank(char c) {
    return Code(c) >= 1 && Code(c) <= 32;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// Reads values from the rest of one line.
struct Cursor {
    const char* p;

    void SkipBlanks() {
        while (IsBlank(*p)) {
            ++p;
        }
    }
    void SkipWord() {
        while (IsWordChar(*p)) {
            ++p;
        }
    }
    float ReadFloat() {
        char digits[maxNumberLength + 1];
        size_t n = 0;
        while (IsWordChar(*p)) {
            if (n < maxNumberLength) {
                digits[n++] = *p;
            }
            ++p;
        }
        digits[n] = '\0';
        // Out-of-range values become the largest float rather than an undefined conversion.
        double value = std::atof(digits);
        return static_cast<float>(std::isnan(value) ? value : std::clamp(value, -3.4e38, 3.4e38));
    }
    int ReadInt() {
        char digits[maxNumberLength + 1];
        size_t n = 0;
        while (IsWordChar(*p) && *p != ':') {
            if (n < maxNumberLength) {
                digits[n++] = *p;
            }
            ++p;
        }
        digits[n] = '\0';
        if (*p == ':') {
            ++p;
        }
        long value = std::strtol(digits, nullptr, 10);
        return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
    }
    float NextFloat() {
        SkipBlanks();
        return ReadFloat();
    }
    int NextInt() {
        SkipBlanks();
        return ReadInt();
    }
    // A vector written (x, y, z) in the file's z-up space, returned in the game's y-up space.
    Vector3 NextSwappedVector() {
        float x = NextFloat();
        float y = NextFloat();
        float z = NextFloat();
        return {x, z, y};
    }
    std::string NextName() {
        SkipBlanks();
        std::string name;
        while (IsWordChar(*p)) {
            if (name.size() < maxNameLength) {
                name.push_back(*p);
            }
            ++p;
        }
        return name;
    }
};

// Finds the line's token (from its first '*') and leaves the cursor after it.
AseToken ReadToken(const std::string& line, Cursor& cursor) {
    size_t star = line.find('*');
    if (star == std::string::npos) {
        return UnknownToken;
    }
    const char* begin = line.c_str() + star;
    const char* end = begin;
    while (IsWordChar(*end)) {
        ++end;
    }
    cursor.p = end;
    std::string_view token(begin, static_cast<size_t>(end - begin));
    for (size_t code = 0; code < std::size(tokenNames); ++code) {
        if (EqualIgnoringCase(token, tokenNames[code])) {
            return static_cast<AseToken>(code);
        }
    }
    return UnknownToken;
}

float Clamp01(float value) {
    return std::clamp(value, 0.0f, 1.0f);
}

float RandomColourOffset() {
    return static_cast<float>((std::rand() & 1000) - 500) / 4000.0f;
}

// The world transform expressed relative to the parent's world transform. The parent's rotation and scale
// are not applied to the position difference: the models are authored with unrotated parents.
Transform RelativeTo(const Transform& world, const Transform& parent) {
    Transform relative;
    relative.rotation = Inverse(parent.rotation) * world.rotation;
    relative.position = world.position - parent.position;
    relative.scale = parent.scale != 0.0f ? world.scale / parent.scale : world.scale;
    return relative;
}

void CollectLeafTrackCounts(const ModelNode& node, size_t& maxCount) {
    if (node.children.empty()) {
        maxCount = std::max(maxCount, node.tracks.size());
    }
    for (const auto& child : node.children) {
        CollectLeafTrackCounts(*child, maxCount);
    }
}

void CollectTrackLength(const ModelNode& node, size_t track, uint32_t& length) {
    if (node.children.empty() && track < node.tracks.size() && !node.tracks[track].keys.empty()) {
        length = std::max(length, node.tracks[track].keys.back().frame);
    }
    for (const auto& child : node.children) {
        CollectTrackLength(*child, track, length);
    }
}

ModelNode* FindByTrackCount(ModelNode& node, size_t count) {
    if (node.tracks.size() == count) {
        return &node;
    }
    for (auto& child : node.children) {
        if (ModelNode* found = FindByTrackCount(*child, count)) {
            return found;
        }
    }
    return nullptr;
}

void MakeKeysRelativeAt(ModelNode& node, size_t track, uint32_t frame, uint32_t length,
                        const Transform& parent) {
    Transform world = node.transform;
    if (node.animated && track < node.tracks.size()) {
        AnimationTrack& own = node.tracks[track];
        own.length = length;
        for (AnimationKey& key : own.keys) {
            if (key.frame == frame) {
                world = key.transform;
                key.transform = RelativeTo(world, parent);
                break;
            }
        }
    }
    for (auto& child : node.children) {
        MakeKeysRelativeAt(*child, track, frame, length, world);
    }
}

void MakeMeshLocal(ModelNode& node, const Transform& parent) {
    const Transform world = node.transform;
    const Matrix4 inverseRotation = ToMatrix(Inverse(world.rotation));
    const float inverseScale = world.scale != 0.0f ? 1.0f / world.scale : 1.0f;
    for (ModelVertex& vertex : node.vertices) {
        vertex.position = TimesVector(inverseRotation, vertex.position - world.position) * inverseScale;
    }
    node.transform = RelativeTo(world, parent);
    if (node.animated) {
        for (AnimationTrack& track : node.tracks) {
            if (!track.keys.empty()) {
                track.keys.front().transform = RelativeTo(track.keys.front().transform, parent);
            }
        }
    }
    for (auto& child : node.children) {
        MakeMeshLocal(*child, world);
    }
}

ModelNode* FindWithDepth(ModelNode& node, const std::string& name, int depth, int& foundDepth) {
    if (EqualIgnoringCase(node.name, name)) {
        foundDepth = depth;
        return &node;
    }
    for (auto& child : node.children) {
        if (ModelNode* found = FindWithDepth(*child, name, depth + 1, foundDepth)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

void MakeModelRelative(ModelNode& root) {
    size_t trackCount = 0;
    CollectLeafTrackCounts(root, trackCount);
    ModelNode* reference = trackCount > 0 ? FindByTrackCount(root, trackCount) : nullptr;
    if (reference != nullptr) {
        for (size_t track = 0; track < trackCount; ++track) {
            uint32_t length = 0;
            CollectTrackLength(root, track, length);
            AnimationTrack& referenceTrack = reference->tracks[track];
            for (size_t j = 1; j < referenceTrack.keys.size(); ++j) {
                MakeKeysRelativeAt(root, track, referenceTrack.keys[j].frame, length, Transform{});
            }
        }
    }
    MakeMeshLocal(root, Transform{});
}

// The state of the one geometry object being read.
struct AseLoader::ObjectReader {
    std::unique_ptr<ModelNode> node = std::make_unique<ModelNode>();
    std::string parentName;
    Vector3 rotationAxis;
    AnimationTrack openTrack;
    bool trackOpen = false;
    std::vector<int> faceLines;
    std::vector<int> texFaceLines;

    void CloseTrack() {
        if (trackOpen) {
            openTrack.keyCount = static_cast<uint32_t>(openTrack.keys.size());
            node->tracks.push_back(std::move(openTrack));
            openTrack = AnimationTrack{};
            trackOpen = false;
        }
    }
};

void AseLoader::Warn(const std::string& text) {
    std::string message = path_ + "(" + std::to_string(lineNumber_) + "): " + text;
    if (echo_) {
        std::fprintf(stderr, "%s\n", message.c_str());
    }
    messages_.push_back(std::move(message));
}

bool AseLoader::ReadLine(std::FILE* file) {
    line_.clear();
    int c = 0;
    bool cut = false;
    while ((c = std::fgetc(file)) != EOF && c != '\n') {
        if (line_.size() < maxLineLength) {
            line_.push_back(static_cast<char>(c));
        } else {
            cut = true;
        }
    }
    if (c == EOF && line_.empty()) {
        return false;
    }
    ++lineNumber_;
    // A NUL inside a line ends it, as it would for any C string reader.
    line_.resize(std::min(line_.size(), line_.find('\0')));
    if (cut) {
        Warn("line longer than " + std::to_string(maxLineLength) + " characters cut");
    }
    return true;
}

std::unique_ptr<ModelNode> AseLoader::ParseAse(const std::string& gamePath) {
    messages_.clear();
    result_.reset();
    path_ = gamePath;
    lineNumber_ = 0;
    if (gamePath.empty()) {
        return nullptr;
    }
    std::FILE* file = std::fopen(NativePath(gamePath).c_str(), "r");
    if (file == nullptr) {
        return nullptr;
    }

    while (ReadLine(file)) {
        Cursor cursor{nullptr};
        switch (ReadToken(line_, cursor)) {
        case SceneLastFrame:
            lastFrame_ = cursor.NextInt();
            break;
        case SceneTicksPerFrame:
            ticksPerFrame_ = cursor.NextInt();
            break;
        case GeomObject:
            ReadObject(file);
            break;
        default:
            break;
        }
    }
    std::fclose(file);

    if (!result_) {
        return nullptr;
    }
    MakeModelRelative(*result_);
    return std::move(result_);
}

void AseLoader::ReadObject(std::FILE* file) {
    ObjectReader object;
    ModelNode& node = *object.node;

    bool ended = false;
    while (!ended && ReadLine(file)) {
        Cursor cursor{nullptr};
        const AseToken token = ReadToken(line_, cursor);
        switch (token) {
        case MeshVertex: {
            cursor.SkipBlanks();
            cursor.SkipWord();
            ModelVertex vertex;
            vertex.position = cursor.NextSwappedVector();
            node.vertices.push_back(vertex);
            break;
        }
        case MeshFace: {
            cursor.SkipBlanks();
            cursor.SkipWord();
            cursor.SkipBlanks();
            cursor.SkipWord();
            int a = cursor.NextInt();
            cursor.SkipBlanks();
            cursor.SkipWord();
            int b = cursor.NextInt();
            cursor.SkipBlanks();
            cursor.SkipWord();
            int c = cursor.NextInt();
            // Second and third corners exchanged: the y/z swap mirrors the mesh, this keeps its front side.
            ModelFace face;
            face.vertices[0] = static_cast<uint32_t>(a);
            face.vertices[1] = static_cast<uint32_t>(c);
            face.vertices[2] = static_cast<uint32_t>(b);
            node.faces.push_back(face);
            object.faceLines.push_back(lineNumber_);
            object.texFaceLines.push_back(0);
            break;
        }
        case MeshTVert: {
            node.textured = true;
            cursor.SkipBlanks();
            cursor.SkipWord();
            TexVertex tex;
            tex.u = cursor.NextFloat();
            tex.v = cursor.NextFloat();
            node.texVertices.push_back(tex);
            break;
        }
        case MeshTFace: {
            int face = cursor.NextInt();
            int t1 = cursor.NextInt();
            int t2 = cursor.NextInt();
            int t3 = cursor.NextInt();
            if (face < 0 || static_cast<size_t>(face) >= node.faces.size()) {
                Warn("texture face " + std::to_string(face) + " names no face (there are " +
                     std::to_string(node.faces.size()) + "); skipped");
                break;
            }
            ModelFace& target = node.faces[static_cast<size_t>(face)];
            target.texVertices[0] = static_cast<uint32_t>(t1);
            target.texVertices[1] = static_cast<uint32_t>(t2);
            target.texVertices[2] = static_cast<uint32_t>(t3);
            object.texFaceLines[static_cast<size_t>(face)] = lineNumber_;
            break;
        }
        case MeshVertCol: {
            int index = cursor.NextInt();
            float r = cursor.NextFloat();
            float g = cursor.NextFloat();
            float b = cursor.NextFloat();
            if (index < 0 || static_cast<size_t>(index) >= node.vertices.size()) {
                Warn("vertex colour " + std::to_string(index) + " names no vertex (there are " +
                     std::to_string(node.vertices.size()) + "); skipped");
                break;
            }
            node.vertices[static_cast<size_t>(index)].colour = {r, g, b, 1.0f};
            break;
        }
        case NodeName:
            // The name is repeated inside the transform and animation blocks; the first one counts.
            if (node.name.empty()) {
                node.name = cursor.NextName();
            }
            break;
        case NodeParent:
            object.parentName = cursor.NextName();
            break;
        case TmPos:
            node.transform.position = cursor.NextSwappedVector();
            break;
        case TmRotAxis:
            object.rotationAxis = cursor.NextSwappedVector();
            break;
        case TmRotAngle:
            node.transform.rotation = Quat::FromAxisAngle(cursor.NextFloat(), object.rotationAxis);
            node.transform.rotation.Rescale();
            break;
        case TmScale:
            node.transform.scale = cursor.NextFloat();
            break;
        case TmAnimation: {
            object.CloseTrack();
            object.trackOpen = true;
            AnimationKey first;
            first.transform = node.transform;
            object.openTrack.keys.push_back(first);
            node.animated = true;
            break;
        }
        case ControlPosSample:
        case ControlRotSample:
        case ControlScaleSample: {
            int time = cursor.NextInt();
            if (!object.trackOpen) {
                Warn("animation sample outside *TM_ANIMATION; skipped");
                break;
            }
            if (ticksPerFrame_ <= 0) {
                Warn("animation sample without a positive *SCENE_TICKSPERFRAME; skipped");
                break;
            }
            int frame = time / ticksPerFrame_;
            if (frame < 0) {
                Warn("animation sample at negative time " + std::to_string(time) + "; skipped");
                break;
            }
            std::vector<AnimationKey>& keys = object.openTrack.keys;
            auto key = std::find_if(keys.begin(), keys.end(), [&](const AnimationKey& k) {
                return k.frame == static_cast<uint32_t>(frame);
            });
            if (key == keys.end()) {
                AnimationKey added = keys.back();
                added.frame = static_cast<uint32_t>(frame);
                keys.push_back(added);
                key = keys.end() - 1;
            }
            if (token == ControlPosSample) {
                key->transform.position = cursor.NextSwappedVector();
            } else if (token == ControlRotSample) {
                Vector3 axis = cursor.NextSwappedVector();
                float angle = cursor.NextFloat() * 1.5707963f;
                key->transform.rotation = Quat::FromAxisAngle(angle, axis);
                key->transform.rotation.Rescale();
            } else {
                key->transform.scale = cursor.NextFloat();
            }
            break;
        }
        case AniEnd:
            object.CloseTrack();
            break;
        case WireframeColor: {
            float r = cursor.NextFloat();
            float g = cursor.NextFloat();
            float b = cursor.NextFloat();
            for (ModelVertex& vertex : node.vertices) {
                VertexColour& colour = vertex.colour;
                if (colour.r == 1.0f && colour.g == 1.0f && colour.b == 1.0f) {
                    float blueOffset = RandomColourOffset();
                    float greenOffset = RandomColourOffset();
                    float redOffset = RandomColourOffset();
                    colour = {Clamp01(r + redOffset), Clamp01(g + greenOffset), Clamp01(b + blueOffset),
                              1.0f};
                }
            }
            ended = true;
            break;
        }
        case MaterialRef:
            ended = true;
            break;
        default:
            break;
        }
    }

    // Triangles naming vertices the object does not have are dropped; texture corners out of range use 0.
    std::vector<ModelFace> kept;
    kept.reserve(node.faces.size());
    for (size_t i = 0; i < node.faces.size(); ++i) {
        ModelFace face = node.faces[i];
        bool inRange = true;
        for (uint32_t index : face.vertices) {
            inRange = inRange && index < node.vertices.size();
        }
        if (!inRange) {
            int saved = lineNumber_;
            lineNumber_ = object.faceLines[i];
            Warn("face uses a vertex outside the " + std::to_string(node.vertices.size()) +
                 " vertices; skipped");
            lineNumber_ = saved;
            continue;
        }
        bool texInRange = true;
        for (uint32_t index : face.texVertices) {
            texInRange = texInRange && index < node.texVertices.size();
        }
        if (!texInRange && object.texFaceLines[i] != 0) {
            int saved = lineNumber_;
            lineNumber_ = object.texFaceLines[i];
            Warn("texture face uses a texture vertex outside the " + std::to_string(node.texVertices.size()) +
                 " texture vertices; skipped");
            lineNumber_ = saved;
        }
        if (!texInRange) {
            face.texVertices[0] = face.texVertices[1] = face.texVertices[2] = 0;
        }
        kept.push_back(face);
    }
    node.faces = std::move(kept);

    // Vertices no triangle uses are marker points; their colour carries green and blue exchanged.
    std::vector<bool> used(node.vertices.size(), false);
    for (const ModelFace& face : node.faces) {
        for (uint32_t index : face.vertices) {
            used[index] = true;
        }
    }
    for (size_t i = 0; i < node.vertices.size(); ++i) {
        if (!used[i]) {
            MarkerPoint marker;
            marker.vertex = static_cast<uint32_t>(i);
            node.markerPoints.push_back(marker);
            std::swap(node.vertices[i].colour.g, node.vertices[i].colour.b);
        }
    }

    object.CloseTrack();
    LinkNode(std::move(object.node), object.parentName);
}

void AseLoader::LinkNode(std::unique_ptr<ModelNode> node, const std::string& parentName) {
    if (!result_) {
        if (!parentName.empty()) {
            Warn("object '" + node->name + "' names parent '" + parentName +
                 "', which is not a geometry object of the file; it becomes the root");
        }
        result_ = std::move(node);
        return;
    }
    ModelNode* parent = nullptr;
    int depth = 0;
    if (!parentName.empty()) {
        parent = FindWithDepth(*result_, parentName, 0, depth);
    }
    if (parent == nullptr) {
        Warn("object '" + node->name + "' has " +
             (parentName.empty() ? std::string("no parent") : "the unknown parent '" + parentName + "'") +
             "; attached to the root '" + result_->name + "'");
        parent = result_.get();
    } else if (depth >= maxTreeDepth) {
        Warn("object '" + node->name + "' lies deeper than " + std::to_string(maxTreeDepth) +
             " levels; attached to the root");
        parent = result_.get();
    }
    parent->children.push_back(std::move(node));
}
