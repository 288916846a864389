#include "Models.h"

namespace {

ModelRecipe Single(const std::string& name, Mesh (*build)(), bool wholeMech) {
    return {name,
            [name, build] {
                AseNode node;
                node.name = name;
                node.mesh = build();
                return std::vector<AseNode>{node};
            },
            wholeMech};
}

ModelRecipe Module(const std::string& name, Mesh (*build)(const std::string&)) {
    return {name,
            [name, build] {
                AseNode node;
                node.name = name;
                node.mesh = build(name);
                return std::vector<AseNode>{node};
            },
            false};
}

ModelRecipe Building(const std::string& name, int number) {
    return {name,
            [name, number] {
                AseNode node;
                node.name = name;
                node.mesh = BuildBuilding(number);
                return std::vector<AseNode>{node};
            },
            false};
}

std::vector<ModelRecipe> MakeRecipes() {
    std::vector<ModelRecipe> r;
    r.push_back({"TEST_MODEL", BuildTestModel, false});
    r.push_back(Single("WOLF_COMPILED", BuildWolf, true));
    r.push_back(Single("RAT_COMPILED", BuildRat, true));
    r.push_back(Single("SPIDER_COMPILED", BuildSpider, true));
    r.push_back(Single("ANT_COMPILED", BuildAnt, true));
    r.push_back(Single("TURTLE_COMPILED", BuildTurtle, true));
    r.push_back(Single("FROG_COMPILED", BuildFrog, true));
    r.push_back(Single("WOLF_CORE", BuildWolfCore, false));
    r.push_back(Single("RAT_CORE", BuildRatCore, false));
    r.push_back(Single("SPIDER_CORE", BuildSpiderCore, false));
    r.push_back(Single("ANT_CORE", BuildAntCore, false));
    r.push_back(Single("TURTLE_CORE", BuildTurtleCore, false));
    r.push_back(Single("FROG_CORE", BuildFrogCore, false));
    for (const char* name : {"W_DOUBLECANNON", "W_MISSILELAUNCHER", "W_WEBCANNON", "W_STINGERSALVO",
                             "W_AIRBURST", "W_SHELLLASERS", "W_REFLEXCANNON", "W_PLASMACANNON",
                             "W_ASSUALTCANNON", "W_DEATHBLOSSOM", "W_ESPIONAGEKIT", "W_ANTIARMORMISSILES"}) {
        r.push_back(Module(name, BuildWeapon));
    }
    for (const char* name :
         {"H_CLOSECOMBAT", "H_SENSOR", "H_MANDIBLE", "H_TACTICAL", "H_ASSUALT", "H_FIREPINCER"}) {
        r.push_back(Module(name, BuildHead));
    }
    for (const char* name : {"T_SENSOR", "T_ENGINEOPTIMIZER", "T_UNDERCARRIAGEARMOR", "T_FUELSYSTEM",
                             "T_ADDITIONALARMOR", "T_AUXENGINE", "T_BLASTER", "T_SAW", "T_SNIPERLANCE",
                             "T_JUMPJETS", "T_GUARD", "T_FFGENERATOR", "T_RARAR"}) {
        r.push_back(Module(name, BuildTail));
    }
    r.push_back(Building("BUILDING01", 1));
    r.push_back(Building("BUILDING02", 2));
    r.push_back(Building("BUILDING03", 3));
    return r;
}

} // namespace

const std::vector<ModelRecipe>& ModelRecipes() {
    static const std::vector<ModelRecipe> recipes = MakeRecipes();
    return recipes;
}

const ModelRecipe* FindModelRecipe(const std::string& slotName) {
    for (const ModelRecipe& recipe : ModelRecipes()) {
        if (recipe.slotName == slotName) {
            return &recipe;
        }
    }
    return nullptr;
}

int ModelLastFrame() {
    return 100;
}
