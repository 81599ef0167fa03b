#include "bridge/pageargument.h"

#include <QVariant>

namespace PageArgument {

QString text(const QVariant &argument)
{
    return argument.toString();
}

bool flag(const QVariant &argument)
{
    return argument.toBool();
}

} // namespace PageArgument
