#pragma once

#include <cstddef>
#include <string>

// After a fatal signal (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT) the game writes "crashDump<n>.dmp" into
// the working directory, taking the first free number so earlier dumps are never overwritten, and then
// ends with that signal. The dump is text: the signal, the fault address and a backtrace. Everything here
// is async-signal-safe.

// Writes later dumps into that folder instead of the working directory (an installed game must not write
// into its data folder); false, changing nothing, when the folder cannot be opened.
bool SetCrashDumpFolder(const std::string& folder);

// Installs the handler for the fatal signals, on an alternate stack so a stack overflow is caught too.
void InstallCrashHandler();

// Creates the first free "crashDump<n>.dmp" (n from 1) in the dump folder with an exclusive create,
// writes its name into name (size bytes) and returns the open descriptor; -1 with errno set on failure.
int CreateCrashDumpFile(char* name, size_t size);

// Writes the dump for the signal and fault address into the descriptor.
void WriteCrashDumpTo(int fd, int signal, const void* faultAddress);

// Creates the dump file and writes the dump; when the file cannot be created writes
// "Failed to write minidump\n error code: <errno>" to standard error. Returns true when a dump was written.
bool WriteCrashDump(int signal, const void* faultAddress);
