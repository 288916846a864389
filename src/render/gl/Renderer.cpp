#include "render/gl/Renderer.h"

#include "platform/Dialog.h"
#include "platform/Paths.h"
#include "platform/sdl/Texture.h"
#include "render/ModelCatalogue.h"
#include "render/gl/ModelDrawing.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL_video.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

enum UniformIndex : size_t {
    UseLighting,
    NumOfLights,
    LightsTypes,
    GlobalAmbient,
    MaterialSpecular,
    MaterialShininess,
};

// The renderer DrawTexturedRect switches to unlit and back; the one whose shader was built last.
Renderer* shaderOwner = nullptr;

void SwitchLightingForTextures(int32_t mode) {
    if (shaderOwner != nullptr) {
        shaderOwner->SetLightingMode(static_cast<LightingMode>(mode));
    }
}

std::string GlErrorText(GLenum error) {
    const GLubyte* text = gluErrorString(error);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "unknown error";
}

// The whole file, or nothing when it cannot be read or is empty.
std::string ReadSource(const std::string& gamePath) {
    std::ifstream file(NativePath(gamePath), std::ios::binary);
    if (!file) {
        return {};
    }
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

GLuint CompileShader(GLenum kind, const std::string& path, const char* failureLine) {
    std::string source = ReadSource(path);
    if (source.empty()) {
        std::printf("%s", failureLine);
        ShowAssertionBox("Could not read shader file: " + path);
        return 0;
    }
    GLuint shader = glCreateShader(kind);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        char log[1024] = {};
        GLsizei length = 0;
        glGetShaderInfoLog(shader, sizeof log, &length, log);
        std::printf("%d | %s\n", length, log);
        std::printf("%s", failureLine);
        glDeleteShader(shader);
        ShowAssertionBox(log[0] != '\0' ? std::string(log) : path + ": compile error");
        return 0;
    }
    return shader;
}

void SetLightVector(GLenum light, GLenum name, const Vector3& v, float w) {
    const GLfloat values[4] = {v.x, v.y, v.z, w};
    glLightfv(light, name, values);
}

} // namespace

// [SECTION] Lighting shader

bool LightingShader::BuildShader() {
    if (glCreateShader == nullptr) {
        return false;
    }
    vertexShader = CompileShader(GL_VERTEX_SHADER, vertexPath, "Vertex shader compile error!\n");
    fragmentShader = CompileShader(GL_FRAGMENT_SHADER, fragmentPath, "Pixel shader compile error!\n");

    program = glCreateProgram();
    if (vertexShader != 0) {
        glAttachShader(program, vertexShader);
    }
    if (fragmentShader != 0) {
        glAttachShader(program, fragmentShader);
    }
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE || vertexShader == 0 || fragmentShader == 0) {
        // A half-built program would make every draw fail; fixed-function drawing is the better fallback.
        char log[1024] = {};
        GLsizei length = 0;
        glGetProgramInfoLog(program, sizeof log, &length, log);
        if (linked != GL_TRUE) {
            std::printf("%d | %s\n", length, log);
            ShowAssertionBox("Shader link error\n" + std::string(log));
        }
        ReleaseShader();
        return false;
    }
    return true;
}

void LightingShader::ActivateShader() {
    if (glUseProgram == nullptr) {
        return;
    }
    GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        ShowAssertionBox("error from somewhere else (found in activate shader)\n" + GlErrorText(error));
    }
    glUseProgram(program);
    error = glGetError();
    if (error != GL_NO_ERROR) {
        ShowAssertionBox("error starting shader\n" + GlErrorText(error));
    }
}

void LightingShader::ReleaseShader() {
    if (glDeleteProgram == nullptr || SDL_GL_GetCurrentContext() == nullptr) {
        return;
    }
    if (program != 0) {
        GLint current = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &current);
        if (static_cast<GLuint>(current) == program) {
            glUseProgram(0);
        }
        if (vertexShader != 0) {
            glDetachShader(program, vertexShader);
        }
        if (fragmentShader != 0) {
            glDetachShader(program, fragmentShader);
        }
        glDeleteProgram(program);
    }
    if (vertexShader != 0) {
        glDeleteShader(vertexShader);
    }
    if (fragmentShader != 0) {
        glDeleteShader(fragmentShader);
    }
    vertexShader = fragmentShader = program = 0;
}

// [SECTION] Set-up

Renderer::Renderer() {
    uniforms_.fill(-1);
}

Renderer::~Renderer() {
    if (shaderOwner == this) {
        shaderOwner = nullptr;
        SetTextureLightingHook(nullptr);
    }
    shader.ReleaseShader();
    if (SDL_GL_GetCurrentContext() != nullptr) {
        font.Delete();
    }
    lights_.clear();
}

void Renderer::SetupGLState() {
    glShadeModel(GL_SMOOTH);
    glClearColor(0.5f, 0.5f, 0.5f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glViewport(0, 0, width, height);
}

bool Renderer::BuildLightingShader() {
    shaderReady_ = false;
    uniforms_.fill(-1);
    glewExperimental = GL_TRUE;
    GLenum status = glewInit();
    // GLEW may leave an error behind while probing extensions.
    while (glGetError() != GL_NO_ERROR) {
    }
    if (status != GLEW_OK || glCreateShader == nullptr) {
        std::fprintf(stderr, "GLEW could not start (%s); drawing without the lighting shader\n",
                     status != GLEW_OK ? reinterpret_cast<const char*>(glewGetErrorString(status))
                                       : "no shader functions");
        return false;
    }
    shader.vertexPath = "Graphics\\shader\\lighting.vert";
    shader.fragmentPath = "Graphics\\shader\\lighting.frag";
    if (!shader.BuildShader()) {
        return false;
    }
    for (size_t i = 0; i < shaderUniformNames.size(); ++i) {
        uniforms_[i] = glGetUniformLocation(shader.program, shaderUniformNames[i]);
    }
    shaderReady_ = true;
    shaderOwner = this;
    SetTextureLightingHook(SwitchLightingForTextures);
    return true;
}

void Renderer::InitRenderer(int32_t newWidth, int32_t newHeight) {
    OpenRenderer(newWidth, newHeight);
    font.Create();

    loadingBackground_ = LoadTexture("Art Assets\\Screens\\Loading.png");
    textures[loadingScreenSlot] = loadingBackground_;
    loadingFill_ = LoadTexture("Art Assets\\Textures\\ActivePos.png");
    loadingFrame_ = LoadTexture("Art Assets\\Textures\\Empty_Bar.png");
    ShowLoadingBar(1);

    LoadModels("XMLFiles\\Models.xml");
}

void Renderer::OpenRenderer(int32_t newWidth, int32_t newHeight) {
    OpenWindow(newWidth, newHeight);
    StartLighting();
}

void Renderer::OpenWindow(int32_t newWidth, int32_t newHeight) {
    width = newWidth;
    height = newHeight;
    textures.fill(0);
    SetTextureScreenSize(width, height);

    if (window == nullptr) {
        ownWindow_ = std::make_unique<GLWindow>();
        window = ownWindow_.get();
    }
    // Opening creates the 800 x 600 window with its context and projection; an open window is kept.
    if (!window->IsOpen()) {
        window->Open();
    }
    SetupGLState();

    camera.SetViewDistance(60.0f);
    camera.zoomLevel = 1;
    camera.UpdateCamera(false);
}

void Renderer::StartLighting() {
    BuildLightingShader();
    lightIdCounter_ = 0;
    if (shaderReady_) {
        shader.ActivateShader();
    }
}

void Renderer::LoadModels(const std::string& cataloguePath) {
    std::vector<std::string> files;
    if (!ReadModelCatalogue(cataloguePath, files)) {
        return;
    }

    // A step of the bar is shown only when the last one has been up a while (drawing and showing a frame
    // costs more than loading a model on a software renderer), and the last step always.
    using Clock = std::chrono::steady_clock;
    Clock::time_point shown = Clock::now();
    auto step = [&](float fraction, bool last) {
        if (last || Clock::now() - shown >= std::chrono::milliseconds(100)) {
            ShowLoadingScreen(fraction);
            shown = Clock::now();
        }
    };
    size_t nextStep = 0;
    for (size_t slot = 0; slot < files.size(); ++slot) {
        models[slot] = !files[slot].empty() ? LoadAse(aseLoader, files[slot]) : nullptr;
        if (nextStep < loadingStepSlots.size() && static_cast<int>(slot) == loadingStepSlots[nextStep]) {
            step(loadingStepFractions[nextStep], false);
            ++nextStep;
        }
    }
    for (int slot = 0; slot < modelSlotCount; ++slot) {
        if (models[static_cast<size_t>(slot)]) {
            models[static_cast<size_t>(slot)]->BuildDisplayLists();
        }
        step(0.6f + 0.4f * static_cast<float>(slot) / static_cast<float>(modelSlotCount),
             slot + 1 == modelSlotCount);
    }
}

int32_t LoadingBarPixels(int32_t windowWidth, float fraction) {
    return static_cast<int32_t>(static_cast<float>(windowWidth - 100) * fraction);
}

void Renderer::ShowLoadingScreen(float fraction) {
    ShowLoadingBar(LoadingBarPixels(width, fraction));
}

void Renderer::ShowLoadingBar(int32_t progress) {
    DrawTexturedRect(loadingBackground_, 0, 0, static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                     false);
    DrawTexturedRect(loadingFill_, 50, 302, static_cast<uint32_t>(std::max(progress, 0)), 28, false);
    DrawTexturedRect(loadingFrame_, 40, 300, static_cast<uint32_t>(std::max(width - 80, 0)), 32, true);
    SwapBuffers();
}

// [SECTION] Frames

void Renderer::BeginScene() {
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glClearColor(0.5f, 0.5f, 0.5f, 0.0f);

    camera.UpdateCamera(true);
    ApplyCamera();

    glEnable(GL_LIGHTING);
    for (GLenum i = 0; i < maxLights; ++i) {
        glEnable(GL_LIGHT0 + i);
    }
    GLfloat types[9] = {};
    GLenum index = 0;
    for (const Light& light : lights_) {
        if (index >= maxLights) {
            break;
        }
        const GLenum name = GL_LIGHT0 + index;
        types[index] = static_cast<GLfloat>(light.type);
        glLightfv(name, GL_POSITION, light.position);
        SetLightVector(name, GL_DIFFUSE, light.diffuse, 1.0f);
        SetLightVector(name, GL_AMBIENT, light.ambient, 1.0f);
        SetLightVector(name, GL_SPECULAR, light.specular, 1.0f);
        SetLightVector(name, GL_SPOT_DIRECTION, light.spotDirection, 0.0f);
        glLightf(name, GL_SPOT_CUTOFF, 45.0f);
        glLightf(name, GL_SPOT_EXPONENT, 0.016666668f);
        glLightf(name, GL_CONSTANT_ATTENUATION, 1.0f);
        glLightf(name, GL_LINEAR_ATTENUATION, 0.0f);
        glLightf(name, GL_QUADRATIC_ATTENUATION, 0.0f);
        ++index;
    }
    types[8] = 0.0f;
    if (shaderReady_) {
        glUniformMatrix3fv(uniforms_[LightsTypes], 1, GL_FALSE, types);
        glUniform1i(uniforms_[NumOfLights], static_cast<GLint>(index));
        glUniform1f(uniforms_[GlobalAmbient], 0.3f);
    }
}

void Renderer::ClearFrame() {
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();
}

void Renderer::Begin2D() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, height, 0, 1, -1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
}

void Renderer::End2D() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
}

void Renderer::SetLightingMode(LightingMode mode) {
    if (shaderReady_) {
        glUniform1i(uniforms_[UseLighting], mode);
    }
}

void Renderer::SetMaterial(float r, float g, float b, float shininess) {
    if (shaderReady_) {
        glUniform4f(uniforms_[MaterialSpecular], r, g, b, 0.0f);
        glUniform1f(uniforms_[MaterialShininess], shininess);
    }
}

// [SECTION] Lights

int32_t Renderer::AddLight(Vector3 ambient, Vector3 diffuse, Vector3 specular, Vector3 position,
                           Vector3 direction, int32_t type) {
    ++lightIdCounter_;
    if (lights_.size() >= maxLights) {
        return lightIdCounter_;
    }
    Light light;
    light.ambient = ambient;
    light.diffuse = diffuse;
    light.specular = specular;
    light.position[0] = position.x;
    light.position[1] = position.y;
    light.position[2] = position.z;
    light.position[3] = 1.0f;
    light.spotDirection = direction;
    light.type = type >= 1 && type <= 3 ? type : 0;
    light.id = lightIdCounter_;
    lights_.push_back(light);
    return lightIdCounter_;
}

void Renderer::RemoveLastLight() {
    if (!lights_.empty()) {
        lights_.pop_back();
    }
}

// [SECTION] Camera, window and models

void Renderer::ApplyCamera() {
    ::ApplyCamera(camera);
}

void Renderer::SwapBuffers() {
    if (window != nullptr) {
        window->Swap();
    }
}

ModelNode* Renderer::model(int slot) const {
    if (slot < 0 || slot >= modelSlotCount) {
        return nullptr;
    }
    return models[static_cast<size_t>(slot)].get();
}

void ApplyCamera(Camera& camera) {
    gluLookAt(camera.eye.x, camera.eye.y, camera.eye.z, camera.target.x, camera.target.y, camera.target.z,
              camera.up.x, camera.up.y, camera.up.z);
    glGetFloatv(GL_MODELVIEW_MATRIX, camera.viewMatrix);
}
