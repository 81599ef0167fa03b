#ifndef QTCOMPAT_H
#define QTCOMPAT_H

// What differs between Qt 5 and Qt 6 outside the browser engine, in one
// place: qtcompat_qt5.cpp and qtcompat_qt6.cpp, of which CMake builds the one
// for the Qt in use. The engine's differences are the window's
// (engine/enginecompat.h).

#include <functional>

class QObject;
class QString;

namespace QtCompat {

// Before the application object exists: Qt honours high-DPI scaling only
// then. Returns the environment variable set for the application object
// alone, to be removed once it exists, or null.
const char *setHighDpiScaling(bool enabled);

// Qt's own translations (qtbase_de.qm, ...).
QString qtTranslationsFolder();

// Qt 6: calls reachable when the system reports the network reachable again
// (GLib's network monitor or NetworkManager on Debian). Qt 5 could tell only
// by polling the network interfaces, which the downloader was freed from.
void whenNetworkReachable(QObject *context, std::function<void()> reachable);

} // namespace QtCompat

#endif // QTCOMPAT_H
