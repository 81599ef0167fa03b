#include "app/desktop/highdpiscaling.h"

#include <QCoreApplication>

namespace HighDpiScaling {

const char *apply(bool enabled)
{
    if (enabled)
        QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    return nullptr;
}

} // namespace HighDpiScaling
