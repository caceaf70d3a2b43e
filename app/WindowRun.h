#pragma once

#include <iosfwd>
#include <string>

namespace calc {
class Tape;
}

namespace ui {
class FrmCalc;
}

namespace app {

class Answer;
struct CommandLine;

// Runs the window as the command line asks, once QApplication exists, and
// returns the exit status. As a picker (--pick): modal, the entry line on the
// start number; a pick-up writes the number to `answer` as the tape writes it
// and gives kExitSuccess, closing the window gives kExitClosed. Otherwise as
// the main window until it closes, then the tape to `answer` with
// --print-tape. The window opens where -qwindowgeometry asks, and --attach
// makes it a dialog of the named window where it can, saying on `err` where
// it cannot. --rate is the rate it starts at.
int runWindow(ui::FrmCalc& window, const CommandLine& commandLine, Answer& answer, std::ostream& err);

// The tape's lines in UTF-8 as the window shows them, trailing blanks
// removed, each ended by a line feed.
std::string tapeText(const calc::Tape& tape);

} // namespace app
