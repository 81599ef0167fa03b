#include "app/desktop/desktopaccessibility.h"

const char *offerPagesToAssistiveTechnology()
{
    return nullptr;
}
