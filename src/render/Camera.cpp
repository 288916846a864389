#include "render/Camera.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float TurnStep = 0.05235987f;
constexpr float PitchStep = 0.015707962f;
constexpr float ZoomStep = 1.25f;
constexpr float PitchLimit = 1.5707963f;
constexpr float YawLimit = 3.1415925f;
constexpr float FullTurn = 6.283185f;
constexpr int32_t SettleFrames = 5;
constexpr int32_t GlideFrames = 30;

} // namespace

void CameraKeys::ClearFlags() {
    for (uint8_t& flag : flags) {
        flag = 0;
    }
}

void CameraKeys::KeyDown(int32_t keyCode) {
    for (int32_t i = 0; i < ActionCount; ++i) {
        if (codes[i] == keyCode) {
            flags[i] = 1;
        }
    }
}

Camera::Camera(float minimum, float maximum)
    : distance((minimum + maximum) / 2.0f), minimumDistance(minimum), maximumDistance(maximum) {
    derive();
}

void Camera::SetViewDistance(float value) {
    distance = std::clamp(value, minimumDistance, maximumDistance);
}

void Camera::startMotion(CameraMotion next, int32_t frames) {
    motion = next;
    framesLeft = frames;
}

bool Camera::startFromKeys() {
    if (keys.Held(CameraAction::ZoomIn) && zoomLevel < 3) {
        ++zoomLevel;
        startMotion(CameraMotion::ZoomingIn, 20);
        return true;
    }
    if (keys.Held(CameraAction::ZoomOut) && zoomLevel >= 1) {
        --zoomLevel;
        startMotion(CameraMotion::ZoomingOut, 20);
        return true;
    }
    if (keys.Held(CameraAction::RotateLeft)) {
        startMotion(CameraMotion::TurningLeft, 15);
        return true;
    }
    if (keys.Held(CameraAction::RotateRight)) {
        startMotion(CameraMotion::TurningRight, 15);
        return true;
    }
    if (keys.Held(CameraAction::PitchUp) && pitchLevel < 4) {
        ++pitchLevel;
        startMotion(CameraMotion::PitchingUp, 20);
        return true;
    }
    if (keys.Held(CameraAction::PitchDown) && pitchLevel >= 1) {
        --pitchLevel;
        startMotion(CameraMotion::PitchingDown, 20);
        return true;
    }
    float c = std::cos(yaw);
    float s = std::sin(yaw);
    Vector3 direction;
    if (keys.Held(CameraAction::PanLeft)) {
        direction = Vector3{-c, 0.0f, s};
    } else if (keys.Held(CameraAction::PanRight)) {
        direction = Vector3{c, 0.0f, -s};
    } else if (keys.Held(CameraAction::PanBack)) {
        direction = Vector3{s, 0.0f, c};
    } else if (keys.Held(CameraAction::PanForward)) {
        direction = Vector3{-s, 0.0f, -c};
    } else {
        return false;
    }
    // On a diagonal view each of x and z should move by a whole unit.
    bool axisAligned = c == 1.0f || c == -1.0f || s == 1.0f || s == -1.0f;
    if (!axisAligned) {
        direction = direction * 1.4142135f;
    }
    panStep = direction / 15.0f;
    startMotion(CameraMotion::Panning, 15);
    return true;
}

void Camera::advance() {
    switch (motion) {
    case CameraMotion::Idle:
        return;
    case CameraMotion::Settling:
        if (--framesLeft <= 0) {
            framesLeft = 0;
            motion = CameraMotion::Idle;
        }
        return;
    case CameraMotion::TurningLeft:
        yaw -= TurnStep;
        break;
    case CameraMotion::TurningRight:
        yaw += TurnStep;
        break;
    case CameraMotion::ZoomingIn:
        distance -= ZoomStep;
        break;
    case CameraMotion::ZoomingOut:
        distance += ZoomStep;
        break;
    case CameraMotion::PitchingUp:
        pitch += PitchStep;
        break;
    case CameraMotion::PitchingDown:
        pitch -= PitchStep;
        break;
    case CameraMotion::Panning:
        target += panStep;
        break;
    }
    if (--framesLeft <= 0) {
        startMotion(CameraMotion::Settling, SettleFrames);
    }
}

void Camera::UpdateCamera(bool withInput) {
    if (withInput) {
        if (motion == CameraMotion::Idle && startFromKeys()) {
            derive();
            return;
        }
        if (motion != CameraMotion::Idle) {
            advance();
            pitch = std::clamp(pitch, -PitchLimit, PitchLimit);
            if (yaw < -YawLimit) {
                yaw += FullTurn;
            } else if (yaw > YawLimit) {
                yaw -= FullTurn;
            }
            distance = std::clamp(distance, minimumDistance, maximumDistance);
        }
    }
    derive();
}

void Camera::derive() {
    float sy = std::sin(yaw);
    float cy = std::cos(yaw);
    float sp = std::sin(pitch);
    float cp = std::cos(pitch);
    up = Vector3{-sy * sp, cp, -cy * sp};
    forward = Vector3{-sy * cp, -sp, -cy * cp};
    eye = target - forward * distance;
}

void Camera::MoveCameraTo(const Vector3& point, bool immediate) {
    if (immediate) {
        target = point;
        derive();
        return;
    }
    if (motion != CameraMotion::Idle) {
        return;
    }
    panStep = (point - target) / static_cast<float>(GlideFrames);
    startMotion(CameraMotion::Panning, GlideFrames);
}
