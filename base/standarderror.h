#ifndef STANDARDERROR_H
#define STANDARDERROR_H

class QString;

// The program's own lines on standard error: a failed download, a refused
// permission or certificate, a server that cannot be reached. Each is
// written whole and at once, in the local 8-bit encoding, as a file name or
// an error text reaches a terminal; the line end is added.
namespace StandardError {

void writeLine(const QString &line);

} // namespace StandardError

#endif // STANDARDERROR_H
