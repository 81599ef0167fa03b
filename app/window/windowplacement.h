#ifndef WINDOWPLACEMENT_H
#define WINDOWPLACEMENT_H

#include <QList>
#include <QRect>

namespace WindowPlacement {

// Where a window kept from an earlier start goes again: where it was while a
// person can still reach its title bar on one of the screens (their
// available areas, the primary one first), else onto the primary screen,
// moved as little as it takes and shrunk to fit it. A screen unplugged or
// rearranged since leaves no window out of reach.
QRect onScreens(const QRect &kept, const QList<QRect> &screens);

} // namespace WindowPlacement

#endif // WINDOWPLACEMENT_H
