#ifndef RUNNABLEFILE_H
#define RUNNABLEFILE_H

#include <QString>

// Tells the files that the desktop's opener would run as a program (or that
// would make it run one) from documents: executables, scripts, installers,
// shortcuts and launchers of any platform, judged by name and by content.
class RunnableFile
{
public:
    static bool couldRun(const QString &fileName);
    // By the name alone, for a file that does not exist yet.
    static bool hasRunnableName(const QString &fileName);

private:
    static bool hasRunnableContent(const QString &fileName);
};

#endif // RUNNABLEFILE_H
