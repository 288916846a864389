#pragma once

#include <string>
#include <string_view>

// Every file the game saves goes through here. The contents are written to a temporary file beside the
// target ("<name>.saving"), flushed and synced to the disk, and only then renamed over the target, after
// which the folder is synced too. A save that fails at any step, or a process that dies half-way, leaves
// the old file whole.

// Saves the contents to the file at a game path. On failure removes the temporary file, leaves the target
// as it was and puts the reason (for example "No space left on device") into error.
bool SaveFileDurably(const std::string& gamePath, std::string_view contents, std::string& error);

// The text of the box a failed save shows: it names the file and says the save failed, and why.
std::string SaveFailedText(const std::string& gamePath, const std::string& error);

// For tests: a function run after the temporary file is complete and synced, just before it replaces the
// target (null: none). Returns the previous one.
using BeforeReplaceHook = void (*)(const std::string& temporaryPath);
BeforeReplaceHook SetBeforeReplaceHook(BeforeReplaceHook hook);
