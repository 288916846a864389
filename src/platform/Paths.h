#pragma once

#include <string>
#include <string_view>
#include <vector>

// Data files and code name paths in the game's own spelling, with backslashes ("XMLFiles\GUI\menu.xml").
// Every file open goes through NativePath; nothing else in the game handles separators.

// Turns a path in the game's spelling into one the operating system opens (backslash to slash).
std::string NativePath(std::string_view gamePath);

// Appends folder + "\" + name for every regular file of the folder, sorted byte-wise by name;
// sub-folders are skipped and a folder that cannot be opened appends nothing.
void ListFiles(std::string_view gameFolder, std::vector<std::string>& files);
