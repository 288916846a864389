#include "screens/MissionChoice.h"

namespace {

std::string& Chosen() {
    static std::string chosen;
    return chosen;
}

} // namespace

void ChooseMission(const std::string& missionFile) {
    Chosen() = missionFile;
}

const std::string& ChosenMission() {
    return Chosen();
}
