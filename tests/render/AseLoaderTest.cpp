#include "render/AseLoader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

// Writes an ASE text to a temporary file and parses it with the given loader.
class AseFile {
public:
    AseFile(const std::string& name, const std::string& text)
        : path_(testing::TempDir() + "vantor_ase_" + name + ".ase") {
        std::ofstream(path_) << text;
    }
    ~AseFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::unique_ptr<ModelNode> Parse(AseLoader& loader, const std::string& name, const std::string& text) {
    AseFile file(name, text);
    return loader.ParseAse(file.path());
}

bool SawMessageContaining(const AseLoader& loader, const std::string& part) {
    for (const std::string& message : loader.messages()) {
        if (message.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

const char* triangleObject = R"(*GEOMOBJECT {
	*NODE_NAME "Body"
	*NODE_TM {
		*NODE_NAME "Renamed"
	}
	*MESH {
		*MESH_NUMVERTEX 4
		*MESH_VERTEX_LIST {
			*mesh_vertex    0	0.0	0.0	0.0
			*MESH_VERTEX    1	1.0	0.0	0.0
			*MESH_VERTEX    2	0.0	1.0	0.0
			*MESH_VERTEX    3	1.0	2.0	3.0
		}
		*MESH_FACE_LIST {
			*MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0 *MESH_SMOOTHING 1
		}
		*MESH_NORMALS {
			*MESH_VERTEXNORMAL 0 9.0 9.0 9.0
		}
		*MESH_NUMCVERTEX 4
		*MESH_CVERTLIST {
			*MESH_VERTCOL 3 1.0 0.2 0.8
		}
	}
	*WIREFRAME_COLOR 0.5 0.5 0.5
}
)";

} // namespace

TEST(AseLoaderTest, ReadsVerticesFacesNamesAndMarkersWithTheAxesSwapped) {
    AseLoader loader;
    auto root = Parse(loader, "triangle", triangleObject);
    ASSERT_NE(root, nullptr);

    EXPECT_EQ(root->name, "\"Body\"") << "a second *NODE_NAME must not rename the node";
    // Lower-case tokens count; *MESH_VERTEXNORMAL is not a vertex.
    ASSERT_EQ(root->vertices.size(), 4u);
    const Vector3 fourth = root->vertices[3].position;
    EXPECT_FLOAT_EQ(fourth.x, 1.0f);
    EXPECT_FLOAT_EQ(fourth.y, 3.0f);
    EXPECT_FLOAT_EQ(fourth.z, 2.0f);

    ASSERT_EQ(root->faces.size(), 1u);
    EXPECT_EQ(root->faces[0].vertices[0], 0u);
    EXPECT_EQ(root->faces[0].vertices[1], 2u);
    EXPECT_EQ(root->faces[0].vertices[2], 1u);

    // Vertex 3 is used by no face: a marker point, its colour with green and blue exchanged.
    ASSERT_EQ(root->markerPoints.size(), 1u);
    EXPECT_EQ(root->markerPoints[0].vertex, 3u);
    EXPECT_FLOAT_EQ(root->vertices[3].colour.r, 1.0f);
    EXPECT_FLOAT_EQ(root->vertices[3].colour.g, 0.8f);
    EXPECT_FLOAT_EQ(root->vertices[3].colour.b, 0.2f);

    // Uncoloured vertices take the wireframe colour, varied by at most an eighth.
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(root->vertices[static_cast<size_t>(i)].colour.r, 0.5f, 0.1251f);
        EXPECT_NEAR(root->vertices[static_cast<size_t>(i)].colour.b, 0.5f, 0.1251f);
    }
    EXPECT_TRUE(loader.messages().empty());
}

TEST(AseLoaderTest, MissingFilesAndFilesWithoutObjectsGiveNothing) {
    AseLoader loader;
    EXPECT_EQ(loader.ParseAse(""), nullptr);
    EXPECT_EQ(loader.ParseAse(testing::TempDir() + "no_such_model.ase"), nullptr);
    EXPECT_EQ(Parse(loader, "empty", "*3DSMAX_ASCIIEXPORT 200\n*SCENE {\n}\n"), nullptr);
}

TEST(AseLoaderTest, SamplesBecomeKeysAtWholeFrames) {
    AseLoader loader;
    auto root = Parse(loader, "samples", R"(*SCENE {
	*SCENE_LASTFRAME 100
	*SCENE_TICKSPERFRAME 160
}
*GEOMOBJECT {
	*NODE_NAME "Arm"
	*TM_ANIMATION {
		*NODE_NAME "Arm"
		*CONTROL_POS_TRACK {
			*CONTROL_POS_SAMPLE 640 1.0 2.0 3.0
		}
		*CONTROL_ROT_TRACK {
			*CONTROL_ROT_SAMPLE 640 0.0 0.0 1.0 1.0
			*CONTROL_ROT_SAMPLE 799 0.0 0.0 1.0 1.0
		}
		*CONTROL_SCALE_TRACK {
			*CONTROL_SCALE_SAMPLE 320 2.0 2.0 2.0
		}
	}
	*MATERIAL_REF 0
}
)");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(loader.lastFrame(), 100);
    EXPECT_EQ(loader.ticksPerFrame(), 160);
    ASSERT_TRUE(root->animated);
    ASSERT_EQ(root->tracks.size(), 1u);
    const AnimationTrack& track = root->tracks[0];
    // Key 0 is the node's transform; 640 and 799 ticks are frame 4; 320 ticks is frame 2, appended last.
    ASSERT_EQ(track.keys.size(), 3u);
    EXPECT_EQ(track.keyCount, 3u);
    EXPECT_EQ(track.keys[1].frame, 4u);
    EXPECT_EQ(track.keys[2].frame, 2u);
    EXPECT_EQ(track.length, 2u) << "the length is the frame of the last key";

    const Transform& atFour = track.keys[1].transform;
    EXPECT_FLOAT_EQ(atFour.position.y, 3.0f);
    EXPECT_FLOAT_EQ(atFour.position.z, 2.0f);
    // Angle 1.0 turns by pi/2 about the file's z axis, which is the game's y axis.
    EXPECT_NEAR(atFour.rotation.w, std::cos(1.5707963f / 2), 1e-6);
    EXPECT_NEAR(atFour.rotation.y, std::sin(1.5707963f / 2), 1e-6);
    EXPECT_NEAR(atFour.rotation.z, 0.0f, 1e-6);
    // The frame-2 key started as a copy of the frame-4 key, then took the scale.
    EXPECT_FLOAT_EQ(track.keys[2].transform.scale, 2.0f);
    EXPECT_FLOAT_EQ(track.keys[2].transform.position.y, 3.0f);
}

TEST(AseLoaderTest, SamplesWithoutTicksPerFrameAreSkipped) {
    AseLoader loader;
    auto root = Parse(loader, "noticks", R"(*GEOMOBJECT {
	*NODE_NAME "Arm"
	*TM_ANIMATION {
		*CONTROL_POS_SAMPLE 640 1.0 2.0 3.0
	}
}
)");
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->tracks.size(), 1u) << "the end of the file closes the open object and track";
    EXPECT_EQ(root->tracks[0].keys.size(), 1u);
    EXPECT_TRUE(SawMessageContaining(loader, "noticks.ase(4)"));
}

TEST(AseLoaderTest, IndicesOutsideTheirListsAreSkippedWithTheLine) {
    AseLoader loader;
    auto root = Parse(loader, "indices", R"(*GEOMOBJECT {
	*NODE_NAME "Broken"
	*MESH_VERTEX 0 0 0 0
	*MESH_VERTEX 1 1 0 0
	*MESH_VERTEX 2 0 1 0
	*MESH_FACE 0: A: 0 B: 1 C: 2
	*MESH_FACE 1: A: 0 B: 7 C: 2
	*MESH_FACE 2: A: -1 B: 1 C: 2
	*MESH_TVERT 0 0.5 0.5 0
	*MESH_TFACE 0 0 0 9
	*MESH_TFACE 5 0 0 0
	*MESH_VERTCOL 9 1 0 0
	*MESH_VERTCOL -2 1 0 0
}
)");
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->faces.size(), 1u);
    EXPECT_EQ(root->faces[0].texVertices[2], 0u) << "an out-of-range texture corner falls back to 0";
    EXPECT_TRUE(SawMessageContaining(loader, "indices.ase(7)"));
    EXPECT_TRUE(SawMessageContaining(loader, "indices.ase(8)"));
    EXPECT_TRUE(SawMessageContaining(loader, "indices.ase(10)"));
    EXPECT_TRUE(SawMessageContaining(loader, "indices.ase(11)"));
    EXPECT_TRUE(SawMessageContaining(loader, "indices.ase(12)"));
    EXPECT_TRUE(SawMessageContaining(loader, "indices.ase(13)"));
    EXPECT_TRUE(root->markerPoints.empty());
}

TEST(AseLoaderTest, ChildrenBecomeRelativeAndStrayObjectsHangFromTheRoot) {
    AseLoader loader;
    auto root = Parse(loader, "tree", R"(*GEOMOBJECT {
	*NODE_NAME "Hull"
	*NODE_TM {
		*TM_POS 1.0 2.0 3.0
		*TM_SCALE 2.0 2.0 2.0
	}
	*MESH_VERTEX 0 3.0 2.0 3.0
	*MATERIAL_REF 0
}
*GEOMOBJECT {
	*NODE_NAME "Gun"
	*NODE_PARENT "hull"
	*NODE_TM {
		*TM_POS 2.0 2.0 3.0
		*TM_ROTAXIS 0.0 0.0 1.0
		*TM_ROTANGLE 1.5707963
	}
	*MESH_VERTEX 0 2.0 2.0 4.0
	*WIREFRAME_COLOR 1 1 1
}
*GEOMOBJECT {
	*NODE_NAME "Orphan"
	*NODE_PARENT "Nowhere"
	*MATERIAL_REF 0
}
*GEOMOBJECT {
	*NODE_NAME "Second"
}
)");
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->children.size(), 3u);
    EXPECT_EQ(root->children[0]->name, "\"Gun\"");
    EXPECT_EQ(root->children[1]->name, "\"Orphan\"");
    EXPECT_EQ(root->children[2]->name, "\"Second\"");
    EXPECT_TRUE(SawMessageContaining(loader, "Nowhere"));
    EXPECT_TRUE(SawMessageContaining(loader, "no parent"));

    // The hull's vertex, 2 to the right of its position, is 1 in its own space scaled by 2.
    EXPECT_FLOAT_EQ(root->vertices[0].position.x, 1.0f);
    EXPECT_FLOAT_EQ(root->transform.position.y, 3.0f);

    const ModelNode& gun = *root->children[0];
    EXPECT_FLOAT_EQ(gun.transform.position.x, 1.0f);
    EXPECT_FLOAT_EQ(gun.transform.position.y, 0.0f);
    EXPECT_FLOAT_EQ(gun.transform.scale, 0.5f);
    // The gun's vertex is one unit above it (game y); its own quarter turn about y leaves that alone.
    EXPECT_NEAR(gun.vertices[0].position.x, 0.0f, 1e-6);
    EXPECT_NEAR(gun.vertices[0].position.y, 1.0f, 1e-6);
    EXPECT_NEAR(gun.vertices[0].position.z, 0.0f, 1e-6);
}

TEST(AseLoaderTest, OverlongNamesAndLinesAreCut) {
    AseLoader loader;
    std::string longName(80, 'N');
    std::string longLine = "*MESH_VERTEX 0 " + std::string(2000, '1') + " 2.0 3.0";
    auto root = Parse(loader, "long",
                      "*GEOMOBJECT {\n*NODE_NAME " + longName + "\n" + longLine +
                          "\n*MESH_VERTEX 1 1.0 2.0 3.0\n}\n");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->name, std::string(31, 'N'));
    ASSERT_EQ(root->vertices.size(), 2u) << "the tail of a cut line is not read as a line of its own";
    EXPECT_FLOAT_EQ(root->vertices[1].position.y, 3.0f);
    EXPECT_TRUE(SawMessageContaining(loader, "long.ase(3)"));
}

TEST(AseLoaderTest, AnimationKeysBecomeRelativeToTheParentAtTheSameFrame) {
    AseLoader loader;
    auto root = Parse(loader, "animated_tree", R"(*SCENE {
	*SCENE_TICKSPERFRAME 100
}
*GEOMOBJECT {
	*NODE_NAME "Hip"
	*TM_ANIMATION {
		*CONTROL_POS_SAMPLE 200 1.0 0.0 0.0
	}
	*MATERIAL_REF 0
}
*GEOMOBJECT {
	*NODE_NAME "Leg"
	*NODE_PARENT "Hip"
	*TM_POS 1.0 0.0 0.0
	*TM_ANIMATION {
		*CONTROL_POS_SAMPLE 200 3.0 0.0 0.0
		*CONTROL_POS_SAMPLE 350 3.0 0.0 4.0
	}
	*MATERIAL_REF 0
}
)");
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->children.size(), 1u);
    const ModelNode& leg = *root->children[0];
    ASSERT_EQ(leg.tracks.size(), 1u);
    ASSERT_EQ(leg.tracks[0].keys.size(), 3u);
    // Both tracks run to the last frame any leaf reaches.
    EXPECT_EQ(root->tracks[0].length, 3u);
    EXPECT_EQ(leg.tracks[0].length, 3u);
    EXPECT_FLOAT_EQ(leg.tracks[0].keys[0].transform.position.x, 1.0f)
        << "key 0 against the parent's rest place";
    EXPECT_FLOAT_EQ(leg.tracks[0].keys[1].transform.position.x, 2.0f)
        << "frame 2 against the parent at frame 2";
    // Frame 3 is not a frame of the reference track, so it stays as the file gave it.
    EXPECT_FLOAT_EQ(leg.tracks[0].keys[2].transform.position.y, 4.0f);
    EXPECT_FLOAT_EQ(leg.transform.position.x, 1.0f);
}

TEST(AseLoaderTest, GarbledFilesNeverReadOutsideTheirData) {
    const char* tokens[] = {
        "*GEOMOBJECT",   "*MESH_VERTEX",        "*MESH_FACE",          "*MESH_TVERT",
        "*MESH_TFACE",   "*MESH_VERTCOL",       "*NODE_NAME",          "*NODE_PARENT",
        "*TM_ANIMATION", "*CONTROL_POS_SAMPLE", "*CONTROL_ROT_SAMPLE", "*CONTROL_SCALE_SAMPLE",
        "*ANI_END",      "*TM_ROTANGLE",        "*TM_SCALE",           "*WIREFRAME_COLOR",
        "*MATERIAL_REF", "*SCENE_TICKSPERFRAME"};
    const char* values[] = {"0", "1",  "-1",    "2:",  "A:", "99999999999999", "1e39", "nan", "\xff\xfe",
                            "",  "0:", "\"x\"", "0.0", "3"};
    unsigned seed = 12345;
    auto next = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int file = 0; file < 40; ++file) {
        std::string text;
        for (int line = 0; line < 200; ++line) {
            text += tokens[next(std::size(tokens))];
            for (unsigned v = next(8); v > 0; --v) {
                text += " ";
                text += values[next(std::size(values))];
            }
            text += "\n";
        }
        AseLoader loader;
        auto root = Parse(loader, "garbled", text);
        if (root) {
            root->PrepareForDrawing();
            for (const ModelFace& face : root->faces) {
                for (uint32_t index : face.vertices) {
                    EXPECT_LT(index, root->vertices.size());
                }
            }
        }
    }
}
