#pragma once

#include "platform/sdl/Font.h"
#include "platform/sdl/GLWindow.h"
#include "render/AseLoader.h"
#include "render/Camera.h"
#include "render/ModelNode.h"
#include "render/ModelSlots.h"

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <string>

// How the lighting shader colours what is drawn next.
enum LightingMode : int32_t {
    Unlit = 0,
    Lit = 1,
    Flat = 2,
};

// One positional light handed to the shader; its type code (1 point, 2 spot, 3 sun) is explained in
// Graphics\shader\lighting.frag.
struct Light {
    Vector3 ambient;
    Vector3 diffuse;
    Vector3 specular;
    float position[4] = {0, 0, 0, 1};
    Vector3 spotDirection;
    int32_t type = 0;
    int32_t id = 0;
};

// The game's one GLSL program, built from two source files.
class LightingShader {
public:
    // Compiles and links the two files; a part that cannot be read or compiled shows the assertion box and
    // is left out. True when the program linked.
    bool BuildShader();
    // Makes the program current, reporting GL errors in the assertion box.
    void ActivateShader();
    // Detaches and deletes both shaders and the program.
    void ReleaseShader();

    uint32_t vertexShader = 0;
    uint32_t fragmentShader = 0;
    uint32_t program = 0;
    std::string vertexPath;
    std::string fragmentPath;
};

// Names of the six shader uniforms, in the order of their stored locations.
constexpr std::array<const char*, 6> shaderUniformNames = {
    "useLighting", "numOfLights", "lightsTypes", "globalAmbient", "materialSpecular", "materialShininess",
};

// Maximum number of lights in a scene.
constexpr size_t maxLights = 8;
// Number of texture slots filled at boot.
constexpr size_t textureSlotCount = 255;
// Slot of the loading picture, which the renderer loads itself (layouts may use it as a backdrop).
constexpr size_t loadingScreenSlot = 30;

// The rendering part of the game: window, shader, camera, font, lights, texture slots and model table.
class Renderer {
public:
    Renderer();
    // Releases the shader and font and frees the lights and models.
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Draws into the given window (the game context's) instead of a window of its own; call before
    // InitRenderer.
    void UseWindow(GameWindow* gameWindow) { window = gameWindow; }
    // Opens the window (its own SDL window unless one was given), sets the GL state, camera, font and
    // shader, then loads every model of "XMLFiles\Models.xml" while showing the loading bar.
    void InitRenderer(int32_t width, int32_t height);
    // The part of InitRenderer that makes a frame drawable: the window, the GL state, the camera and the
    // shader, without the font, the loading bar and the models.
    void OpenRenderer(int32_t width, int32_t height);
    // OpenRenderer's first half: the window, the GL state and the camera, enough to copy pictures into the
    // frame; StartLighting is its second.
    void OpenWindow(int32_t width, int32_t height);
    // Builds the lighting shader and draws with it from now on (fixed function when it cannot be built).
    void StartLighting();
    // The fixed GL state: smooth shading, grey clear colour, depth test, back-face culling, viewport.
    void SetupGLState();
    // Initialises GLEW, builds the lighting shader from Graphics\shader and looks up its uniforms;
    // false (fixed-function drawing only) when GLEW or the program is not available.
    bool BuildLightingShader();
    // Reads the model catalogue and loads its models into slots 0 to 46, advancing the loading bar.
    void LoadModels(const std::string& cataloguePath);

    // Clears the frame, moves the camera one frame with input, applies it and sends the lights.
    void BeginScene();
    // Clears colour, depth and stencil and loads the identity (for the pick pass).
    void ClearFrame();
    // Switches to a 2D projection in layout pixels, origin top left, depth test off.
    void Begin2D();
    // Restores both matrices from Begin2D and switches the depth test on; model-view current.
    void End2D();
    // Tells the shader how to colour what comes next.
    void SetLightingMode(LightingMode mode);
    // Sets the specular colour and shininess of what comes next.
    void SetMaterial(float r, float g, float b, float shininess);
    // Adds a light unless eight are on; returns the advanced light id counter either way.
    int32_t AddLight(Vector3 ambient, Vector3 diffuse, Vector3 specular, Vector3 position, Vector3 direction,
                     int32_t type);
    // Removes the most recently added light, if any.
    void RemoveLastLight();
    // Loads the camera's view into the model-view matrix and keeps a copy in the camera.
    void ApplyCamera();
    // Shows the frame.
    void SwapBuffers();
    // Draws one step of the loading screen with the bar filled to the fraction, and shows it.
    void ShowLoadingScreen(float fraction);
    // Draws one step of the loading screen with the bar filled by so many pixels, and shows it.
    void ShowLoadingBar(int32_t progress);

    // The model in a slot, or null.
    ModelNode* model(int slot) const;
    // The lights in the order they were added.
    const std::list<Light>& lights() const { return lights_; }
    // The id the last AddLight returned (0 after InitRenderer).
    int32_t lightIdCounter() const { return lightIdCounter_; }
    // True when the lighting shader was built and is in use.
    bool shaderReady() const { return shaderReady_; }
    // Location of uniform i of shaderUniformNames, or -1.
    int32_t uniformLocation(size_t i) const { return uniforms_[i]; }

    int32_t width = 800;
    int32_t height = 600;
    GameWindow* window = nullptr;
    LightingShader shader;
    Camera camera{1.0f, 1000.0f};
    TextFont font;
    std::array<uint32_t, textureSlotCount> textures{};
    std::array<std::unique_ptr<ModelNode>, modelSlotCount> models;
    AseLoader aseLoader;

private:
    std::unique_ptr<GLWindow> ownWindow_;
    int32_t lightIdCounter_ = 0;
    std::array<int32_t, shaderUniformNames.size()> uniforms_;
    bool shaderReady_ = false;
    std::list<Light> lights_;
    uint32_t loadingBackground_ = 0;
    uint32_t loadingFill_ = 0;
    uint32_t loadingFrame_ = 0;
};

// Pixels of the loading bar's fill at a fraction of the bar, which is the window less 100 pixels wide.
int32_t LoadingBarPixels(int32_t windowWidth, float fraction);

// Loads the camera's view (eye, target, up) into the model-view matrix and reads it back into the camera.
void ApplyCamera(Camera& camera);
