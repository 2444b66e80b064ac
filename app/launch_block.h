#pragma once
// The launch notification: a program started from a file whose name ends in ".tmp" clears the first
// three bytes of the shared block that its launcher created.

#include <string>
#include <string_view>

namespace app {

// Whether the file name's last four bytes, ASCII letters lower-cased, are ".tmp".
bool startedAsTemporaryFile(std::string_view fileName);

// The shared block's name: the full-width form of "Zoriv-EV", sixteen GBK bytes.
std::string launchBlockName();

} // namespace app
