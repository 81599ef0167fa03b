#ifndef RESOLVEDPATH_H
#define RESOLVEDPATH_H

#include <QString>

// fileName as the system finds it: absolute, with every link (also a
// dangling one, which a save follows too) and every "." and ".." resolved,
// also where the file or its folder does not exist yet.
QString resolvedPath(const QString &fileName);

#endif // RESOLVEDPATH_H
