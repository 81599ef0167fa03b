#ifndef DESKTOPACCESSIBILITY_H
#define DESKTOPACCESSIBILITY_H

namespace DesktopAccessibility {

// On Linux the browser engine hands the page's accessibility tree to the
// desktop's accessibility bus (AT-SPI) only when asked, while Qt's own
// widgets reach it by themselves. Asks the engine when the desktop's
// accessibility is on, as Qt itself tells it: an accessibility bus named by
// hand (AT_SPI_BUS_ADDRESS), Qt's switch (QT_LINUX_ACCESSIBILITY_ALWAYS_ON),
// or the session bus's org.a11y.Bus reporting IsEnabled or
// ScreenReaderEnabled. A person's own QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY
// is left as it is. Elsewhere the engine needs no asking.
//
// Called once the application object exists and before the first page;
// returns the environment variable set for the engine alone, to be removed
// once the engine has started, or null.
const char *offerPages();

} // namespace DesktopAccessibility

#endif // DESKTOPACCESSIBILITY_H
