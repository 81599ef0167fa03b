#include "app/window/windowplacement.h"

#include <algorithm>

namespace {

// How much of the window's top, in pixels both ways, must lie on a screen for
// a person to take hold of it there.
constexpr int grip = 50;

bool reachableOn(const QRect &window, const QRect &screen)
{
    const QRect top(window.topLeft(), QSize(window.width(), std::min(window.height(), grip)));
    const QRect shown = top & screen;
    return shown.width() >= std::min(window.width(), grip) && shown.height() == top.height();
}

} // namespace

namespace WindowPlacement {

QRect onScreens(const QRect &kept, const QList<QRect> &screens)
{
    if (screens.isEmpty()
            || std::any_of(screens.begin(), screens.end(),
                    [&kept](const QRect &screen) { return reachableOn(kept, screen); }))
        return kept;
    const QRect &primary = screens.first();
    QRect placed(kept.topLeft(), kept.size().boundedTo(primary.size()));
    placed.moveLeft(
            std::clamp(placed.left(), primary.left(), primary.right() - placed.width() + 1));
    placed.moveTop(std::clamp(placed.top(), primary.top(), primary.bottom() - placed.height() + 1));
    return placed;
}

} // namespace WindowPlacement
