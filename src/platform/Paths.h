#pragma once

#include <string>
#include <string_view>
#include <vector>

// Data files and code name paths in the game's own spelling, with backslashes ("XMLFiles\GUI\menu.xml").
// Every file open goes through NativePath; nothing else in the game handles separators.
//
// An installed game runs in its data folder, which it must never write into. There the player's own copies
// of edited files (level maps, layouts) live in a user folder laid over the data folder: a relative path is
// read from the user folder when the file is there, and every save of a relative path goes there.

// Turns a path in the game's spelling into one the operating system opens (backslash to slash); with a user
// folder set, a relative path whose file exists in it names that copy.
std::string NativePath(std::string_view gamePath);

// Where a save of the path goes: the user folder's copy (its folders made) for a relative path when a user
// folder is set, otherwise the path itself.
std::string SavePath(std::string_view gamePath);

// Lays a user folder over the working directory (empty: none); returns the previous one.
std::string SetUserFolder(std::string folder);
// The user folder laid over the working directory; empty when there is none.
const std::string& UserFolder();

// Appends folder + "\" + name for every regular file of the folder, sorted byte-wise by name;
// sub-folders are skipped and a folder that cannot be opened appends nothing. With a user folder set the
// files of its copy of the folder are listed too, each name once.
void ListFiles(std::string_view gameFolder, std::vector<std::string>& files);

// The player's settings folder: $XDG_CONFIG_HOME/vantor, or ~/.config/vantor when that is unset or not an
// absolute path.
std::string ConfigFolder();
// The player's data folder (saved campaign, edited files of an installed game): $XDG_DATA_HOME/vantor, or
// ~/.local/share/vantor when that is unset or not an absolute path.
std::string DataFolder();

// Makes a folder and its parents; false (with the reason in error) when it cannot be made.
bool MakeFolders(const std::string& folder, std::string& error);

// The data folder of an installed game whose program is at the path: <prefix>/share/vantor beside
// <prefix>/bin, when it holds the game's files ("XMLFiles"); empty otherwise.
std::string InstalledDataFolder(const std::string& programPath);
// The folder of a game run from its build's run folder, the program's own folder, when it holds
// "XMLFiles"; empty otherwise.
std::string RunFolderOf(const std::string& programPath);
// The path of the running program; empty when it cannot be told.
std::string ProgramPath();

// Where a game started from a program path runs: its working folder (empty: stay where it was started) and
// the user folder laid over it (empty: none).
struct StartFolders {
    std::string workingFolder;
    std::string userFolder;
};
// An installed program runs in its data folder with the player's data folder laid over it; a program in a
// build's run folder runs there; any other stays in the working folder it was started in.
StartFolders ChooseStartFolders(const std::string& programPath, const std::string& playerDataFolder);
// Changes into the working folder and lays the user folder over it (making it); false with the reason when
// the working folder cannot be entered.
bool EnterStartFolders(const StartFolders& folders, std::string& error);
