#pragma once
// Splits the program's own path into its folder and its file name.

#include <string>
#include <string_view>

namespace app {

struct ProgramPath {
    std::string folder;   // up to, not including, the last backslash; empty without one
    std::string fileName; // after the last backslash; the whole path without one
};

// Steps from one character to the next in the system's ANSI code page (CharNextA on Windows), so
// that the second byte of a two-byte character is never taken for a backslash.
using NextCharacter = const char* (*)(const char* position);

ProgramPath splitProgramPath(const std::string& path, NextCharacter next);

} // namespace app
