#pragma once

namespace app {

// Ends the process with `status` at once where the toolkit's teardown of the
// display connection may hang (ui::platform::teardownMayHang; Qt's fault, as
// docs/wayland-teardown.md shows): a caller waiting for the picked number, or
// for the program to end, would wait for ever. The answer is out by then and
// the program keeps nothing; the compositor frees what the connection held
// when it closes, as for any client that ends. Elsewhere it returns, and the
// program ends as usual.
void endWhereTeardownMayHang(int status);

} // namespace app
