#pragma once

namespace tessellar::app::bus {

// Where the running instance answers on the session bus.
inline constexpr const char* serviceName = "org.tessellar.Tessellar";
inline constexpr const char* objectPath = "/org/tessellar/Tessellar";
inline constexpr const char* interfaceName = "org.tessellar.Tessellar";

} // namespace tessellar::app::bus
