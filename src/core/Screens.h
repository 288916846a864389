#pragma once

// Callbacks of the screens in the state table.

// Boot loading: opens the window and moves on to the logo screen.
void BootUpdate();
