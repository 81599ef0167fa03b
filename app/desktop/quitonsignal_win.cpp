#include "app/desktop/quitonsignal.h"

// Windows ends a session through Qt itself, which asks the application to
// commit its data; no signal ends the process.
QuitOnSignal::QuitOnSignal() = default;

QuitOnSignal::~QuitOnSignal() = default;
