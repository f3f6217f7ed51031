#pragma once
// The system's clock, read once where a process starts its virtual clock.

namespace platform::app {

// The local date and time now as a Date serial, to the second.
double SystemDate();

}  // namespace platform::app
