#include "screens/BuildScreen.h"

void BuildEnter() {}

void BuildUpdate() {}

void BuildExit() {}

void SquadEnter() {}

void SquadUpdate() {}

void SquadExit() {}
