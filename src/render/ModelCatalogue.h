#pragma once

#include <string>
#include <vector>

// Reading the model catalogue ("XMLFiles\Models.xml") into plain data; the renderer loads and uploads the
// models it names.

// Fills files with the model file of every named slot, in slot order (empty where the catalogue names
// none). A file that cannot be read or has no "models" root shows a box, leaves files empty and returns
// false.
bool ReadModelCatalogue(const std::string& cataloguePath, std::vector<std::string>& files);
