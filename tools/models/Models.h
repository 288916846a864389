#pragma once

#include "AseWriter.h"

#include <functional>
#include <string>
#include <vector>

// Builds the nodes of one model.
using ModelBuilder = std::function<std::vector<AseNode>()>;

// One model the generator can make, under the element name the model catalogue gives it.
struct ModelRecipe {
    std::string slotName;
    ModelBuilder build;
    bool wholeMech = false; // a complete mech that stands on one tile
};

// Every model the game's catalogue names, in slot order.
const std::vector<ModelRecipe>& ModelRecipes();
// The recipe for an element name, or null.
const ModelRecipe* FindModelRecipe(const std::string& slotName);
// Last animation frame of the models (the test model's loop length).
int ModelLastFrame();

// Whole mechs and their cores.
Mesh BuildWolf();
Mesh BuildRat();
Mesh BuildSpider();
Mesh BuildAnt();
Mesh BuildTurtle();
Mesh BuildFrog();
Mesh BuildWolfCore();
Mesh BuildRatCore();
Mesh BuildSpiderCore();
Mesh BuildAntCore();
Mesh BuildTurtleCore();
Mesh BuildFrogCore();

// Modules: weapons, heads and tails, built around their mount point at the origin.
Mesh BuildWeapon(const std::string& slotName);
Mesh BuildHead(const std::string& slotName);
Mesh BuildTail(const std::string& slotName);
// Buildings filling most of one tile.
Mesh BuildBuilding(int number);
// A small animated scene: a base with a turning turret and a bobbing mast.
std::vector<AseNode> BuildTestModel();
