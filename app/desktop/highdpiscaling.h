#ifndef HIGHDPISCALING_H
#define HIGHDPISCALING_H

// The desktop's high-DPI scaling as the settings ask for it, which Qt 5 and
// Qt 6 switch differently: highdpiscaling_qt5.cpp and highdpiscaling_qt6.cpp,
// of which CMake builds the one for the Qt in use.
namespace HighDpiScaling {

// Before the application object exists: Qt honours high-DPI scaling only
// then. Returns the environment variable set for the application object
// alone, to be removed once it exists, or null.
const char *apply(bool enabled);

} // namespace HighDpiScaling

#endif // HIGHDPISCALING_H
