#pragma once

#include <functional>
#include <future>

namespace app {

// Starts `load` on a thread of the idle scheduling class and returns at once
// with a future that is ready once the load is done; the thread ends on its
// own. Such a thread takes only processor time nothing else wants, so it
// never slows the rest of the start-up; on a busy machine it may get no time
// for a long while, so whoever waits for it waits with a limit. The future
// is invalid when no thread could be started.
std::future<void> preloadInIdleTime(std::function<void()> load);

// fontconfig keeps one configuration for the whole process: the first
// FcInit() reads the configuration files and the font caches, and later calls,
// Qt's among them, find them loaded. That load is the largest single piece of
// the window's start-up and needs nothing from Qt, so it is started before
// QApplication, whose connection to the display leaves the second core mostly
// idle. If Qt needs fonts before the load is done, it loads the configuration
// itself as it would without us, and fontconfig keeps whichever is done first.
std::future<void> preloadFontConfiguration();

} // namespace app
