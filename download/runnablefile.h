#ifndef RUNNABLEFILE_H
#define RUNNABLEFILE_H

#include <QString>

// Tells the files that the desktop's opener would run as a program (or that
// would make it run one) from documents: executables, scripts, installers,
// shortcuts and launchers of any platform, judged by name and by content.
namespace RunnableFile {

bool couldRun(const QString &fileName);
// By the name alone, for a file that does not exist yet.
bool hasRunnableName(const QString &fileName);

} // namespace RunnableFile

#endif // RUNNABLEFILE_H
