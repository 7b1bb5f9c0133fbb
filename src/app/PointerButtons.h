#pragma once

namespace tessellar::app {

// Whether any mouse button is held anywhere on the desktop, not only over our windows. On X11
// this asks the server; elsewhere only this application's view is known.
bool anyPointerButtonPressed();

} // namespace tessellar::app
