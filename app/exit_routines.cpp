#include "app/exit_routines.h"

#include <algorithm>

namespace app {

void ExitRoutines::add(ExitRoutine routine) {
    const auto end = routines_.begin() + count_;
    if (routine == nullptr || std::find(routines_.begin(), end, routine) != end ||
        count_ == routines_.size()) {
        return;
    }
    routines_[count_++] = routine;
}

void ExitRoutines::runAll() {
    // A routine may not register further routines: the list is taken as it stands.
    const std::size_t count = count_;
    count_ = 0;
    for (std::size_t i = 0; i < count; ++i) {
        routines_[i]();
    }
}

} // namespace app
