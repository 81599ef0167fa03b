#ifndef PAGEZOOM_H
#define PAGEZOOM_H

#include <QObject>

class QWebEnginePage;

// The page's zoom as a browser has it: in steps from 25 % to 500 %, beside
// the engine's own Ctrl+wheel, the same for every page of the web
// application and after a renderer crash.
class PageZoom : public QObject
{
    Q_OBJECT

public:
    // Starts at factor, as kept from an earlier run (100 % when out of range).
    PageZoom(QWebEnginePage *page, qreal factor);

    void zoomIn();
    void zoomOut();
    void reset();

    qreal factor() const;

    // Makes the zoom the renderer shows the page's, for its next document or
    // renderer: the engine's Ctrl+wheel zooms only in the renderer.
    void keepCurrentZoom();

    // The step after factor upwards (direction 1) or downwards (-1), or the
    // last step that way; a factor between steps goes to the next one.
    static qreal step(qreal factor, int direction);

private:
    QWebEnginePage *const m_page;
};

#endif // PAGEZOOM_H
