#pragma once

#include <QIcon>

namespace tessellar::app {

// The tray icon: a tray with an arrow dropping into it, drawn at the sizes trays ask for, so
// the app needs no image plug-in at start.
QIcon appIcon();

} // namespace tessellar::app
