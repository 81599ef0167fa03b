#include "base/qtcompat.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace QtCompat {

const char *setHighDpiScaling(bool enabled)
{
    if (enabled)
        QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    return nullptr;
}

QString qtTranslationsFolder()
{
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
}

void whenNetworkReachable(QObject *, std::function<void()>) { }

} // namespace QtCompat
