#include "app/desktop/desktopaccessibility.h"

namespace DesktopAccessibility {

const char *offerPages()
{
    return nullptr;
}

} // namespace DesktopAccessibility
