// The generated models and sounds, read back the way the game reads them: every model of the catalogue
// through the ASE loader, every sound through the sound library.

#include "platform/Paths.h"
#include "render/AseLoader.h"
#include "render/ModelSlots.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// Slots 1 to 6: the whole mechs that units are drawn with.
constexpr int firstMechSlot = 1;
constexpr int lastMechSlot = 6;

void ForEachNode(const ModelNode& node, const std::function<void(const ModelNode&)>& visit) {
    visit(node);
    for (const auto& child : node.children) {
        ForEachNode(*child, visit);
    }
}

// The catalogue's file for every slot name, as the game reads it.
std::map<std::string, std::string> ReadCatalogue() {
    std::map<std::string, std::string> paths;
    tinyxml2::XMLDocument doc;
    if (doc.LoadFile(NativePath("XMLFiles\\Models.xml").c_str()) != tinyxml2::XML_SUCCESS) {
        return paths;
    }
    const tinyxml2::XMLElement* models = doc.FirstChildElement("models");
    for (const tinyxml2::XMLElement* e = models ? models->FirstChildElement() : nullptr; e != nullptr;
         e = e->NextSiblingElement()) {
        paths[e->Name()] = e->GetText() ? e->GetText() : "";
    }
    return paths;
}

struct LoadedModel {
    std::string path;
    std::unique_ptr<ModelNode> root;
};

// Every slot of the catalogue loaded with the game's loader, in slot order.
const std::vector<LoadedModel>& LoadedModels() {
    static const std::vector<LoadedModel> models = [] {
        std::vector<LoadedModel> loaded;
        const auto catalogue = ReadCatalogue();
        AseLoader loader;
        for (std::string_view name : modelSlotNames) {
            const auto it = catalogue.find(std::string(name));
            LoadedModel model;
            model.path = it == catalogue.end() ? "" : it->second;
            model.root = model.path.empty() ? nullptr : loader.ParseAse(model.path);
            loaded.push_back(std::move(model));
        }
        return loaded;
    }();
    return models;
}

// Signed volume enclosed by the triangles as stored: positive when they face outwards.
float SignedVolume(const ModelNode& node) {
    float volume = 0.0f;
    for (const ModelFace& f : node.faces) {
        const Vector3 a = node.vertices[f.vertices[0]].position;
        const Vector3 b = node.vertices[f.vertices[1]].position;
        const Vector3 c = node.vertices[f.vertices[2]].position;
        volume += Dot(a, Cross(b, c)) / 6.0f;
    }
    return volume;
}

TEST(ModelsAndSounds, CatalogueNamesEverySlotAndEveryModelLoadsCleanly) {
    const auto catalogue = ReadCatalogue();
    ASSERT_FALSE(catalogue.empty()) << "XMLFiles\\Models.xml is missing or has no \"models\" element";
    EXPECT_EQ(catalogue.size(), modelSlotNames.size()) << "the catalogue names other elements than the slots";

    const auto& models = LoadedModels();
    AseLoader loader;
    for (size_t slot = 0; slot < modelSlotNames.size(); ++slot) {
        SCOPED_TRACE(std::string(modelSlotNames[slot]) + " -> " + models[slot].path);
        ASSERT_FALSE(models[slot].path.empty()) << "no file named for the slot";
        EXPECT_TRUE(std::filesystem::is_regular_file(NativePath(models[slot].path)));
        ASSERT_NE(models[slot].root, nullptr) << "the loader read no model";

        // Read again to see the loader's complaints about this file alone.
        EXPECT_NE(loader.ParseAse(models[slot].path), nullptr);
        EXPECT_TRUE(loader.messages().empty()) << loader.messages().front();

        int triangles = 0;
        ForEachNode(*models[slot].root, [&](const ModelNode& node) {
            triangles += static_cast<int>(node.faces.size());
            for (const ModelFace& f : node.faces) {
                for (int c = 0; c < 3; ++c) {
                    ASSERT_LT(f.vertices[c], node.vertices.size());
                    if (node.textured) {
                        ASSERT_LT(f.texVertices[c], node.texVertices.size());
                    }
                }
            }
            EXPECT_TRUE(node.markerPoints.empty()) << "stray vertices no triangle uses in " << node.name;
            // A triangle without area has no normal and shades black.
            int flat = 0;
            for (const ModelFace& f : node.faces) {
                const Vector3 a = node.vertices[f.vertices[0]].position;
                const Vector3 n = Cross(node.vertices[f.vertices[1]].position - a,
                                        node.vertices[f.vertices[2]].position - a);
                flat += Length(n) < 1e-7f ? 1 : 0;
            }
            EXPECT_EQ(flat, 0) << "triangles without area in " << node.name;
        });
        EXPECT_GT(triangles, 0);
        if (slot != 0) {
            // Units and the build screen compile only the root's own triangles.
            EXPECT_TRUE(models[slot].root->children.empty())
                << "geometry outside the root would not be drawn";
            EXPECT_GT(SignedVolume(*models[slot].root), 0.0f) << "triangles face inwards";
        }
    }
}

// Smallest box around a node's vertices, in the game's axes (y up).
void NodeBounds(const ModelNode& node, Vector3& lo, Vector3& hi) {
    lo = hi = node.vertices.empty() ? Vector3{} : node.vertices.front().position;
    for (const ModelVertex& v : node.vertices) {
        lo = {std::min(lo.x, v.position.x), std::min(lo.y, v.position.y), std::min(lo.z, v.position.z)};
        hi = {std::max(hi.x, v.position.x), std::max(hi.y, v.position.y), std::max(hi.z, v.position.z)};
    }
}

TEST(ModelsAndSounds, CoresModulesAndBuildingsFitWhereTheyAreShown) {
    const auto& models = LoadedModels();
    for (size_t slot = 7; slot < modelSlotNames.size(); ++slot) {
        SCOPED_TRACE(std::string(modelSlotNames[slot]));
        const ModelNode* model = models[slot].root.get();
        ASSERT_NE(model, nullptr);
        Vector3 lo, hi;
        NodeBounds(*model, lo, hi);
        const Vector3 size = hi - lo;
        if (slot <= 12) { // cores: the body of a mech, on its tile
            EXPECT_GE(lo.x, -2.0f);
            EXPECT_LE(hi.x, 2.0f);
            EXPECT_GE(lo.z, -2.0f);
            EXPECT_LE(hi.z, 2.0f);
            EXPECT_GT(size.x, 1.5f);
        } else if (slot <= 43) { // weapons, heads and tails: smaller than the mech that carries them
            EXPECT_LT(std::max({size.x, size.y, size.z}), 2.0f);
            EXPECT_GT(std::max({size.x, size.y, size.z}), 0.3f) << "too small to see";
        } else { // buildings fill most of their tile and stand taller than a mech
            EXPECT_GE(lo.x, -2.0f);
            EXPECT_LE(hi.x, 2.0f);
            EXPECT_GE(lo.z, -2.0f);
            EXPECT_LE(hi.z, 2.0f);
            EXPECT_GT(std::min(size.x, size.z), 2.5f);
            EXPECT_NEAR(lo.y, 0.0f, 0.05f);
            EXPECT_GT(hi.y, 2.4f);
        }
    }
}

TEST(ModelsAndSounds, WholeMechsStandOnOneTileWithSkinCoordinates) {
    const auto& models = LoadedModels();
    for (int slot = firstMechSlot; slot <= lastMechSlot; ++slot) {
        SCOPED_TRACE(std::string(modelSlotNames[slot]));
        const ModelNode* mech = models[slot].root.get();
        ASSERT_NE(mech, nullptr);
        EXPECT_GE(mech->faces.size(), 300u);
        EXPECT_LE(mech->faces.size(), 3000u);
        EXPECT_TRUE(mech->textured) << "no texture coordinates, so the skin cannot show";

        // Y is up in the game: feet on the tile, body inside its 4 x 4 square, tall enough to read.
        Vector3 lo, hi;
        NodeBounds(*mech, lo, hi);
        EXPECT_NEAR(lo.y, 0.0f, 0.1f) << "feet do not touch the tile";
        EXPECT_GT(hi.y, 1.0f);
        EXPECT_LT(hi.y, 4.0f) << "taller than the health bars above it";
        EXPECT_GE(lo.x, -2.0f);
        EXPECT_LE(hi.x, 2.0f);
        EXPECT_GE(lo.z, -2.0f);
        EXPECT_LE(hi.z, 2.0f);
        EXPECT_GT(hi.x - lo.x, 2.0f) << "too small to read on its tile";

        // The skin is spread over the whole texture: every quarter of it is used.
        bool quarterUsed[4] = {false, false, false, false};
        for (const TexVertex& t : mech->texVertices) {
            EXPECT_GE(t.u, 0.0f);
            EXPECT_LE(t.u, 1.0f);
            EXPECT_GE(t.v, 0.0f);
            EXPECT_LE(t.v, 1.0f);
            quarterUsed[(t.u >= 0.5f ? 1 : 0) + (t.v >= 0.5f ? 2 : 0)] = true;
        }
        for (bool used : quarterUsed) {
            EXPECT_TRUE(used);
        }
    }
}

TEST(ModelsAndSounds, TestModelHasSeveralNodesAndALoopingAnimation) {
    const ModelNode* scene = LoadedModels()[0].root.get();
    ASSERT_NE(scene, nullptr);
    EXPECT_GE(scene->CountNodes(), 3);
    int animatedNodes = 0;
    ForEachNode(*scene, [&](const ModelNode& node) {
        if (!node.animated) {
            return;
        }
        ++animatedNodes;
        ASSERT_FALSE(node.tracks.empty());
        const AnimationTrack& track = node.tracks.front();
        EXPECT_GE(track.keys.size(), 3u) << node.name;
        EXPECT_GT(track.length, 1u) << node.name << " would never move";
        // The loop ends where it starts, so it plays without a jump.
        const Transform& first = track.keys.front().transform;
        const Transform& last = track.keys.back().transform;
        EXPECT_NEAR(Length(first.position - last.position), 0.0f, 1e-3f) << node.name;
        EXPECT_NEAR(std::fabs(Dot(first.rotation, last.rotation)), 1.0f, 1e-3f) << node.name;
    });
    EXPECT_GE(animatedNodes, 2);

    // The turret swings an eighth of a turn to each side, so the file's rotation samples are read as meant.
    const ModelNode* turret = LoadedModels()[0].root->FindNode("\"Turret\"");
    ASSERT_NE(turret, nullptr);
    ASSERT_FALSE(turret->tracks.empty());
    float widest = 0.0f;
    for (const AnimationKey& key : turret->tracks.front().keys) {
        widest = std::max(widest, 2.0f * std::acos(std::min(1.0f, std::fabs(key.transform.rotation.w))));
    }
    EXPECT_NEAR(widest, 3.14159265f / 4.0f, 0.01f);
}

// Every sound path the game plays, and whether it is a music stream.
struct SoundFile {
    const char* gamePath;
    bool music;
};

constexpr SoundFile soundFiles[] = {
    {"Sound Assets\\BGM\\05 - Rock And A Hard Place.mp3", true},
    {"Sound Assets\\BGM\\09 - Spaghetti Guitar In Space.mp3", true},
    {"Sound Assets\\BGM\\33 - Floor It.mp3", true},
    {"Sound Assets\\BGM\\17 - Punk'd.mp3", true},
    {"Sound Assets\\BGM\\29 - Gridiron.mp3", true},
    {"Sound Assets\\BGM\\49 - Tecnotica.mp3", true},
    {"Sound Assets\\SFX\\Menu_Sounds\\Menu_Mechanical03.wav", false},
    {"Sound Assets\\SFX\\Start_Up\\Machine_Generator_Start02.wav", false},
    {"Sound Assets\\SFX\\Zoom\\Servo_Zoom_ScopeOn.wav", false},
    {"Sound Assets\\SFX\\Misc_Weapon\\Machine_PileDriver_Hit03.wav", false},
    {"Sound Assets\\SFX\\Hit\\Lift_MetalGrind_LargeHit2.wav", false},
    {"Sound Assets\\SFX\\Walking_Concrete\\Spider_Walk_Fast.mp3", false},
};

constexpr int mixRate = 22050;

// Opens the sound library on the silent driver for the tests of this file.
class SoundDecoding : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        opened_ = SDL_Init(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(mixRate, AUDIO_S16SYS, 1, 1024) == 0;
        if (opened_) {
            Mix_Init(MIX_INIT_MP3);
        }
    }
    static void TearDownTestSuite() {
        if (opened_) {
            Mix_CloseAudio();
            Mix_Quit();
        }
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    static bool opened_;
};
bool SoundDecoding::opened_ = false;

TEST_F(SoundDecoding, EverySoundDecodesAudiblyWithoutClipping) {
    ASSERT_TRUE(opened_) << SDL_GetError();
    for (const SoundFile& file : soundFiles) {
        SCOPED_TRACE(file.gamePath);
        const std::string path = NativePath(file.gamePath);
        ASSERT_TRUE(std::filesystem::is_regular_file(path));
        if (file.music) {
            Mix_Music* music = Mix_LoadMUS(path.c_str());
            EXPECT_NE(music, nullptr) << Mix_GetError();
            Mix_FreeMusic(music);
        }
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        ASSERT_NE(chunk, nullptr) << Mix_GetError();
        const auto* samples = reinterpret_cast<const int16_t*>(chunk->abuf);
        const size_t count = chunk->alen / sizeof(int16_t);
        const double seconds = static_cast<double>(count) / mixRate;

        int peak = 0;
        size_t onset = count;
        double energy = 0.0;
        // Music must never fall silent: every second of it carries sound.
        double quietestSecond = 1.0;
        double secondEnergy = 0.0;
        for (size_t i = 0; i < count; ++i) {
            peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
            if (onset == count && std::abs(static_cast<int>(samples[i])) > 1000) {
                onset = i;
            }
            const double s = samples[i] / 32768.0;
            energy += s * s;
            secondEnergy += s * s;
            if ((i + 1) % mixRate == 0) {
                quietestSecond = std::min(quietestSecond, std::sqrt(secondEnergy / mixRate));
                secondEnergy = 0.0;
            }
        }
        const double rms = count > 0 ? std::sqrt(energy / static_cast<double>(count)) : 0.0;
        // Loudness of the first and the last 20 ms: where a loop joins itself.
        const size_t edge = std::min<size_t>(count, mixRate / 50);
        const auto windowRms = [&](size_t from) {
            double sum = 0.0;
            for (size_t i = from; i < from + edge; ++i) {
                sum += (samples[i] / 32768.0) * (samples[i] / 32768.0);
            }
            return edge > 0 ? std::sqrt(sum / static_cast<double>(edge)) : 0.0;
        };
        const double startRms = windowRms(0);
        const double endRms = windowRms(count - edge);
        Mix_FreeChunk(chunk);

        EXPECT_GT(rms, 0.02) << "too quiet to hear";
        EXPECT_LT(peak, 32000) << "clipped";
        if (file.music) {
            EXPECT_GE(seconds, 30.0);
            EXPECT_LE(seconds, 90.0);
            EXPECT_GT(quietestSecond, 0.01) << "a second of the loop is silent";
            EXPECT_GT(startRms, 0.01) << "the loop opens on a gap";
            EXPECT_GT(endRms, 0.01) << "the loop ends on a gap";
        } else {
            EXPECT_GT(seconds, 0.1);
            EXPECT_LT(seconds, 5.0) << "too long for an effect played on every click or step";
            if (std::string(file.gamePath).ends_with(".wav")) {
                EXPECT_LT(static_cast<double>(onset) / mixRate, 0.02)
                    << "the effect starts late after its cause";
            }
        }
    }
}

// Loudness of each 50 ms of a decoded sound, or empty when it does not decode.
std::vector<double> LoudnessEnvelope(const char* gamePath) {
    std::vector<double> envelope;
    Mix_Chunk* chunk = Mix_LoadWAV(NativePath(gamePath).c_str());
    if (chunk == nullptr) {
        return envelope;
    }
    const auto* samples = reinterpret_cast<const int16_t*>(chunk->abuf);
    const size_t count = chunk->alen / sizeof(int16_t);
    const size_t frame = mixRate / 20;
    for (size_t start = 0; start + frame <= count; start += frame) {
        double sum = 0.0;
        for (size_t i = start; i < start + frame; ++i) {
            sum += (samples[i] / 32768.0) * (samples[i] / 32768.0);
        }
        envelope.push_back(std::sqrt(sum / static_cast<double>(frame)));
    }
    Mix_FreeChunk(chunk);
    return envelope;
}

// Correlation of two envelopes over their common length (1 for the same shape).
double Correlation(const std::vector<double>& a, const std::vector<double>& b) {
    const size_t n = std::min(a.size(), b.size());
    double meanA = 0.0, meanB = 0.0;
    for (size_t i = 0; i < n; ++i) {
        meanA += a[i] / static_cast<double>(n);
        meanB += b[i] / static_cast<double>(n);
    }
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (size_t i = 0; i < n; ++i) {
        ab += (a[i] - meanA) * (b[i] - meanB);
        aa += (a[i] - meanA) * (a[i] - meanA);
        bb += (b[i] - meanB) * (b[i] - meanB);
    }
    return aa > 0.0 && bb > 0.0 ? ab / std::sqrt(aa * bb) : 1.0;
}

TEST_F(SoundDecoding, EachScreenHasItsOwnPieceOfMusic) {
    ASSERT_TRUE(opened_) << SDL_GetError();
    std::vector<std::vector<double>> envelopes;
    for (const SoundFile& file : soundFiles) {
        if (file.music) {
            envelopes.push_back(LoudnessEnvelope(file.gamePath));
            ASSERT_FALSE(envelopes.back().empty()) << file.gamePath;
        }
    }
    ASSERT_EQ(envelopes.size(), 6u);
    for (size_t a = 0; a < envelopes.size(); ++a) {
        for (size_t b = a + 1; b < envelopes.size(); ++b) {
            EXPECT_LT(Correlation(envelopes[a], envelopes[b]), 0.9)
                << soundFiles[a].gamePath << " and " << soundFiles[b].gamePath << " are the same piece";
        }
    }
}

} // namespace
