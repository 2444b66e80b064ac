#include "app/launch_block.h"

#include "text/conversions.h"

namespace app {

bool startedAsTemporaryFile(std::string_view fileName) {
    return text::toLowerCase(text::rightOfText(fileName, 4)) == ".tmp";
}

std::string launchBlockName() {
    return text::toFullWidth("Zoriv-EV");
}

} // namespace app
