#ifndef PROTECTEDPLACES_H
#define PROTECTEDPLACES_H

#include <QString>

// The places a page may not have a report saved to, because what lies there
// can run a program or let someone in: a file that could run, a shell's
// start-up file, and the folders from which the desktop, the session or the
// shell start programs or read login keys. The name is judged by the file a
// save would write, with every link and ".." followed as the system follows
// them, also where the file or its folder does not exist yet.
namespace ProtectedPlaces {

// Why fileName may not be written for a page, in words for a person; the
// empty text when it may.
QString refusal(const QString &fileName);

} // namespace ProtectedPlaces

#endif // PROTECTEDPLACES_H
