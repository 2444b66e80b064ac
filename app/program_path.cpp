#include "app/program_path.h"

namespace app {

ProgramPath splitProgramPath(const std::string& path, NextCharacter next) {
    const char* const begin = path.c_str();
    const char* lastBackslash = nullptr;
    for (const char* p = begin; *p != '\0'; p = next(p)) {
        if (*p == '\\') {
            lastBackslash = p;
        }
    }
    if (lastBackslash == nullptr) {
        return {std::string(), path};
    }
    return {std::string(begin, lastBackslash), std::string(lastBackslash + 1)};
}

} // namespace app
