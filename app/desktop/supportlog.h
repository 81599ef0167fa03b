#ifndef SUPPORTLOG_H
#define SUPPORTLOG_H

#include <QByteArray>
#include <QString>

// A log for support of everything the program writes to standard error, the
// browser engine's processes and Qt's debug log included: each line goes on
// to standard error unchanged and, with its time, into vantrelnut.log in
// the user's state folder (LogFile keeps the size down). The program writes
// no password there or anywhere.
namespace SupportLog {

// $XDG_STATE_HOME/Vantrel/vantrelnut.log, by default in ~/.local/state;
// on Windows in the local application data folder.
QString fileName();

// Started first thing, before any other thread or process: on Linux a
// process of its own copies the lines, so that neither an end nor a crash of
// the application loses one; on Windows, without a console, the log file is
// where the lines go. The log's first lines name the program's version and
// process, and runsOn: the Qt and the browser engine it runs on.
void start(const QString &runsOn);

// Those first lines, each with its line end.
QByteArray firstLines(qint64 process, const QString &runsOn);

} // namespace SupportLog

#endif // SUPPORTLOG_H
