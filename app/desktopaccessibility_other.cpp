#include "desktopaccessibility.h"

const char *offerPagesToAssistiveTechnology()
{
    return nullptr;
}
