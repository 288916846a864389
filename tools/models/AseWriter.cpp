#include "AseWriter.h"

#include <cstdio>
#include <memory>

namespace {

// The file's rotation samples store angles in quarter turns.
constexpr float quarterTurn = 1.5707963f;

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

void WriteNodeTransform(FILE* f, const AseNode& node) {
    const Vec3 p = node.pivot;
    std::fprintf(f, "\t*NODE_TM {\n");
    std::fprintf(f, "\t\t*NODE_NAME \"%s\"\n", node.name.c_str());
    std::fprintf(f, "\t\t*INHERIT_POS 0 0 0\n\t\t*INHERIT_ROT 0 0 0\n\t\t*INHERIT_SCL 0 0 0\n");
    std::fprintf(f, "\t\t*TM_ROW0 1.0000\t0.0000\t0.0000\n\t\t*TM_ROW1 0.0000\t1.0000\t0.0000\n");
    std::fprintf(f, "\t\t*TM_ROW2 0.0000\t0.0000\t1.0000\n\t\t*TM_ROW3 %.4f\t%.4f\t%.4f\n", p.x, p.y, p.z);
    std::fprintf(f, "\t\t*TM_POS %.4f\t%.4f\t%.4f\n", p.x, p.y, p.z);
    std::fprintf(f, "\t\t*TM_ROTAXIS 0.0000\t0.0000\t1.0000\n\t\t*TM_ROTANGLE 0.0000\n");
    std::fprintf(f, "\t\t*TM_SCALE 1.0000\t1.0000\t1.0000\n");
    std::fprintf(f, "\t\t*TM_SCALEAXIS 0.0000\t0.0000\t0.0000\n\t\t*TM_SCALEAXISANG 0.0000\n\t}\n");
}

void WriteMesh(FILE* f, const Mesh& mesh) {
    std::fprintf(f, "\t*MESH {\n\t\t*TIMEVALUE 0\n");
    std::fprintf(f, "\t\t*MESH_NUMVERTEX %zu\n\t\t*MESH_NUMFACES %zu\n", mesh.positions.size(),
                 mesh.faces.size());
    std::fprintf(f, "\t\t*MESH_VERTEX_LIST {\n");
    for (size_t i = 0; i < mesh.positions.size(); ++i) {
        const Vec3 v = mesh.positions[i];
        std::fprintf(f, "\t\t\t*MESH_VERTEX %5zu\t%.4f\t%.4f\t%.4f\n", i, v.x, v.y, v.z);
    }
    std::fprintf(f, "\t\t}\n\t\t*MESH_FACE_LIST {\n");
    for (size_t i = 0; i < mesh.faces.size(); ++i) {
        const auto& t = mesh.faces[i];
        std::fprintf(f,
                     "\t\t\t*MESH_FACE %5zu:    A: %5d B: %5d C: %5d AB:    1 BC:    1 CA:    1\t "
                     "*MESH_SMOOTHING 1 \t*MESH_MTLID 0\n",
                     i, t[0], t[1], t[2]);
    }
    std::fprintf(f, "\t\t}\n\t\t*MESH_NUMTVERTEX %zu\n\t\t*MESH_TVERTLIST {\n", mesh.uvs.size());
    for (size_t i = 0; i < mesh.uvs.size(); ++i) {
        std::fprintf(f, "\t\t\t*MESH_TVERT %zu\t%.4f\t%.4f\t0.0000\n", i, mesh.uvs[i][0], mesh.uvs[i][1]);
    }
    std::fprintf(f, "\t\t}\n\t\t*MESH_NUMTVFACES %zu\n\t\t*MESH_TFACELIST {\n", mesh.texFaces.size());
    for (size_t i = 0; i < mesh.texFaces.size(); ++i) {
        const auto& t = mesh.texFaces[i];
        std::fprintf(f, "\t\t\t*MESH_TFACE %zu\t%d\t%d\t%d\n", i, t[0], t[1], t[2]);
    }
    std::fprintf(f, "\t\t}\n\t}\n");
}

void WriteAnimation(FILE* f, const AseNode& node) {
    std::fprintf(f, "\t*TM_ANIMATION {\n\t\t*NODE_NAME \"%s\"\n\t\t*CONTROL_POS_TRACK {\n",
                 node.name.c_str());
    for (const AseSample& s : node.samples) {
        std::fprintf(f, "\t\t\t*CONTROL_POS_SAMPLE %d\t%.4f\t%.4f\t%.4f\n", s.frame * aseTicksPerFrame,
                     s.position.x, s.position.y, s.position.z);
    }
    std::fprintf(f, "\t\t}\n\t\t*CONTROL_ROT_TRACK {\n");
    for (const AseSample& s : node.samples) {
        std::fprintf(f, "\t\t\t*CONTROL_ROT_SAMPLE %d\t%.4f\t%.4f\t%.4f\t%.6f\n", s.frame * aseTicksPerFrame,
                     s.axis.x, s.axis.y, s.axis.z, s.angle / quarterTurn);
    }
    std::fprintf(f, "\t\t}\n\t}\n");
}

} // namespace

bool WriteAse(const std::string& nativePath, const std::vector<AseNode>& nodes, int lastFrame) {
    File f(std::fopen(nativePath.c_str(), "w"), &std::fclose);
    if (!f) {
        std::fprintf(stderr, "Could not open file for writing: %s\n", nativePath.c_str());
        return false;
    }
    FILE* out = f.get();
    std::fprintf(out, "*3DSMAX_ASCIIEXPORT\t200\n*COMMENT \"Vantor model generator\"\n");
    std::fprintf(out, "*SCENE {\n\t*SCENE_FILENAME \"%s\"\n\t*SCENE_FIRSTFRAME 0\n",
                 nodes.empty() ? "" : nodes[0].name.c_str());
    std::fprintf(out, "\t*SCENE_LASTFRAME %d\n\t*SCENE_FRAMESPEED 30\n\t*SCENE_TICKSPERFRAME %d\n", lastFrame,
                 aseTicksPerFrame);
    std::fprintf(out, "\t*SCENE_BACKGROUND_STATIC 0.0000\t0.0000\t0.0000\n\t*SCENE_AMBIENT_STATIC "
                      "0.0000\t0.0000\t0.0000\n}\n");
    std::fprintf(out,
                 "*MATERIAL_LIST {\n\t*MATERIAL_COUNT 1\n\t*MATERIAL 0 {\n\t\t*MATERIAL_NAME \"Skin\"\n");
    std::fprintf(out,
                 "\t\t*MATERIAL_CLASS \"Standard\"\n\t\t*MATERIAL_DIFFUSE 1.0000\t1.0000\t1.0000\n\t}\n}\n");
    for (const AseNode& node : nodes) {
        std::fprintf(out, "*GEOMOBJECT {\n\t*NODE_NAME \"%s\"\n", node.name.c_str());
        if (!node.parent.empty()) {
            std::fprintf(out, "\t*NODE_PARENT \"%s\"\n", node.parent.c_str());
        }
        WriteNodeTransform(out, node);
        WriteMesh(out, node.mesh);
        std::fprintf(out, "\t*PROP_MOTIONBLUR 0\n\t*PROP_CASTSHADOW 1\n\t*PROP_RECVSHADOW 1\n");
        if (!node.samples.empty()) {
            WriteAnimation(out, node);
        }
        std::fprintf(out, "\t*MATERIAL_REF 0\n}\n");
    }
    const bool written = std::ferror(out) == 0;
    if (std::fclose(f.release()) != 0 || !written) {
        std::fprintf(stderr, "Could not write file: %s\n", nativePath.c_str());
        return false;
    }
    return true;
}
