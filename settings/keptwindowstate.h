#ifndef KEPTWINDOWSTATE_H
#define KEPTWINDOWSTATE_H

#include <QRect>

#include <optional>

// What the window keeps across starts: the page's zoom and the place of a
// window not maximised, in a file of its own beside the settings store
// (~/.config/Vantrel/VantrelNut.ini), since the page may write any key of
// the settings store, a group ("a/b") too.
namespace KeptWindowState {

qreal zoomFactor();
// The frame's place and the size of what it holds; invalid when none is kept.
QRect geometry();
// Keeps what is given; what is not given stays as it was.
void keep(std::optional<qreal> zoomFactor, std::optional<QRect> geometry);

} // namespace KeptWindowState

#endif // KEPTWINDOWSTATE_H
