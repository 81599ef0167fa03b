#include "app/application/application.h"

// The start-up runs in its order in Application; what it makes (the window,
// the bridge and through it the instrument) lives until the process ends.
int main(int argc, char *argv[])
{
    Application application(argc, argv);
    return application.run();
}
