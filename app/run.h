#pragma once

#include <functional>

class QWidget;

namespace ct {

// The whole program: checks for a display, sets up the application, checks
// the input files and runs the experiment from the registration window.
// `registrationShown`, when set, is called once the registration window has
// first been painted (start-up measurements use it).
int run(int argc, char *argv[], const std::function<void(QWidget *)> &registrationShown = {});

} // namespace ct
