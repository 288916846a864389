#include "combat/gl/CombatState.h"

void CombatEnter() {}

void CombatUpdate() {}

void CombatExit() {}
