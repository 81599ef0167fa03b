#include "download/networkpolling.h"

// Qt 6 has no bearer layer, so nothing polls.
void switchOffNetworkPolling() { }
