#pragma once
// The routines that run once, first registered first, when the program ends normally.

#include <array>
#include <cstddef>

namespace app {

using ExitRoutine = void (*)();

class ExitRoutines {
  public:
    // Appends the routine unless it is there already.
    void add(ExitRoutine routine);
    // Runs every routine in order of registration, then empties the list.
    void runAll();
    void clear() { count_ = 0; }
    std::size_t size() const { return count_; }

  private:
    // A fixed array: registration must not allocate, and the program registers one routine.
    std::array<ExitRoutine, 8> routines_{};
    std::size_t count_ = 0;
};

} // namespace app
