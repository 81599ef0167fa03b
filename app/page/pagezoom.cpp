#include "app/page/pagezoom.h"

#include <QWebEnginePage>

#include <algorithm>
#include <iterator>

namespace {

// The steps of the engine's own browser, Chromium.
constexpr qreal steps[] = {
        0.25, 0.33, 0.5, 0.67, 0.75, 0.8, 0.9, 1.0, 1.1, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0, 4.0, 5.0};
// Ctrl+wheel moves by tenths; a factor this close to a step counts as on it.
constexpr qreal onStep = 0.005;

} // namespace

PageZoom::PageZoom(QWebEnginePage *page, qreal factor)
    : m_page(page)
{
    const bool inRange = factor >= steps[0] && factor <= *std::rbegin(steps);
    m_page->setZoomFactor(inRange ? factor : 1.0);
}

void PageZoom::zoomIn()
{
    m_page->setZoomFactor(step(factor(), 1));
}

void PageZoom::zoomOut()
{
    m_page->setZoomFactor(step(factor(), -1));
}

void PageZoom::reset()
{
    m_page->setZoomFactor(1.0);
}

qreal PageZoom::factor() const
{
    return m_page->zoomFactor();
}

qreal PageZoom::step(qreal factor, int direction)
{
    if (direction > 0) {
        const auto next = std::find_if(std::begin(steps), std::end(steps),
                [factor](qreal step) { return step > factor + onStep; });
        return next == std::end(steps) ? *std::rbegin(steps) : *next;
    }
    const auto next = std::find_if(std::rbegin(steps), std::rend(steps),
            [factor](qreal step) { return step < factor - onStep; });
    return next == std::rend(steps) ? steps[0] : *next;
}

void PageZoom::keepCurrentZoom()
{
    m_page->setZoomFactor(factor());
}
