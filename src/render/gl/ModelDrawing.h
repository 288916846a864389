#pragma once

#include "render/AseLoader.h"
#include "render/ModelNode.h"

#include <memory>
#include <string>

struct Component;
class Renderer;

// Reads an ASE model and compiles the display lists of its tree; null when nothing could be read.
std::unique_ptr<ModelNode> LoadAse(AseLoader& loader, const std::string& gamePath);

// Draws a module and its attached modules: placed by its transform, its textured list in the normal pass
// or its model's plain list in the pick pass (the current colour then stays in effect). A module whose
// model slot is below 1 is skipped with its children. Animated models advance one frame after a normal pass.
void DrawComponent(Component& component, bool pickPass);

// Advances the animations a normal pass of DrawComponent would, without drawing: a module out of sight keeps
// the same pace as one on screen.
void StepComponentAnimations(Component& component);

// How far from the module's position anything DrawComponent draws for it and its attached modules can reach,
// in the units of its parent's space; infinite for a module drawing a list of no known model.
float ComponentReach(const Component& component);

// Multiplies the current matrix by the transform: translation, uniform scale, then rotation.
void ApplyTransform(const Transform& transform);

// Gives a newly loaded core the model of its model slot and a display list of it in the skin (0 to 11, the
// picture of SkinTextureSlot); a slot without a model leaves the core undrawn. The pick colour is the
// caller's to give.
void PrepareCoreModel(Component& core, int32_t skin, const Renderer& renderer);
