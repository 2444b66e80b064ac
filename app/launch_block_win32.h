#pragma once

namespace app {

// Clears the launch block's first three bytes when the program runs under a ".tmp" name. Every
// failure is silent: start-up goes on.
void clearLaunchBlock();

} // namespace app
