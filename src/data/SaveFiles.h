#pragma once

#include <string>
#include <tinyxml2.h>

// Reading the player's own files (settings, the saved campaign): a missing file is not an error, a broken
// one is kept aside as "<name>.bad" so the next save does not destroy what the player might want back.

enum class PlayerFileState { Missing, Broken, Read };

// Loads the XML file and checks its root element's name. Broken when it cannot be read or parsed or has
// another root; reason then says why.
PlayerFileState LoadPlayerFile(const std::string& path, const char* rootName, tinyxml2::XMLDocument& document,
                               std::string& reason);

// Renames the file to "<path>.bad" (replacing an older one) and returns that name; empty when it could not.
std::string KeepAside(const std::string& path);

// The document as text, with its declaration.
std::string DocumentText(tinyxml2::XMLDocument& document);
