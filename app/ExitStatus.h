#pragma once

namespace app {

// Exit statuses of the program, as the manual page lists them. Those of the
// picker follow the dialog tools of the desktops (zenity, kdialog): 0 for an
// answer, 1 for none.
inline constexpr int kExitSuccess = 0; // also: a number was picked
inline constexpr int kExitClosed = 1; // the picker was closed without a number
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNoDisplay = 3;

} // namespace app
