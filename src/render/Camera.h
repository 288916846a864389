#pragma once

#include "render/Maths.h"

#include <cstdint>

// The orbit camera's motion: it looks at a target point from a distance, at a yaw around the vertical axis
// and a pitch above the ground. Keys start fixed-length animated steps; applying the view to the graphics
// library is done by the renderer from eye, target and up.

// The ten camera actions, in the order of their key flags and codes.
enum class CameraAction : int32_t {
    ZoomIn,
    RotateLeft,
    ZoomOut,
    RotateRight,
    PitchUp,
    PitchDown,
    PanLeft,
    PanRight,
    PanForward,
    PanBack,
    Count,
};

// Which camera actions are held in the current frame, and the key codes bound to them.
struct CameraKeys {
    static constexpr int32_t ActionCount = static_cast<int32_t>(CameraAction::Count);

    uint8_t flags[ActionCount] = {};
    int32_t codes[ActionCount] = {17, 30, 31, 32, 16, 18, 203, 205, 200, 208};

    // Clears every flag (at the start of a frame's messages).
    void ClearFlags();
    // Sets the flag of every action bound to the key code (a key-down message of this frame).
    void KeyDown(int32_t keyCode);
    // True when the action's flag is set.
    bool Held(CameraAction action) const { return flags[static_cast<int32_t>(action)] != 0; }
};

// Motion states of the camera.
enum class CameraMotion : int32_t {
    Idle = 0,
    Settling = 1,
    TurningLeft = 2,
    TurningRight = 3,
    ZoomingIn = 4,
    ZoomingOut = 5,
    PitchingUp = 6,
    PitchingDown = 7,
    Panning = 8,
};

class Camera {
public:
    // A camera whose distance stays within [minimumDistance, maximumDistance].
    Camera(float minimumDistance = 1.0f, float maximumDistance = 1000.0f);

    // Sets the distance, clamped into the allowed range.
    void SetViewDistance(float value);
    // One frame of motion; with input, an idle camera first starts the step of the first held key.
    void UpdateCamera(bool withInput);
    // Glides the target to point over 30 frames when idle (ignored otherwise), or jumps there at once.
    void MoveCameraTo(const Vector3& point, bool immediate);
    // True while a motion (including its settling frames) is running.
    bool busy() const { return motion != CameraMotion::Idle; }

    Vector3 target{0.0f, 0.0f, 48.0f};
    Vector3 eye;
    Vector3 up;
    Vector3 forward;
    Vector3 panStep;
    float viewMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float pitch = 0.7853981f;
    float yaw = 4.712389f;
    float distance = 0.0f;
    float minimumDistance = 1.0f;
    float maximumDistance = 1000.0f;
    int32_t framesLeft = 0;
    int32_t zoomLevel = 3;
    int32_t pitchLevel = 2;
    CameraMotion motion = CameraMotion::Idle;
    CameraKeys keys;

private:
    void startMotion(CameraMotion next, int32_t frames);
    bool startFromKeys();
    void advance();
    void derive();
};
