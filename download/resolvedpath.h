#ifndef RESOLVEDPATH_H
#define RESOLVEDPATH_H

#include <QString>

namespace ResolvedPath {

// fileName as the system finds it: absolute, with every link (also a
// dangling one, which a save follows too) and every "." and ".." resolved,
// also where the file or its folder does not exist yet.
QString of(const QString &fileName);

} // namespace ResolvedPath

#endif // RESOLVEDPATH_H
