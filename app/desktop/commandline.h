#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QString>
#include <QStringList>

class QCommandLineParser;
class QTextStream;

// The program's command line, read before anything starts. --help and
// --version are answered instead of starting; anything else that neither the
// program, Qt's application object nor the browser engine takes is refused.
// Qt's own options (-platform, -style, ...) pass as they stand, the engine's
// switches after --webEngineArgs, so that both still reach their readers.
class CommandLine
{
public:
    explicit CommandLine(const QStringList &arguments);

    CommandLine(const CommandLine &) = delete;
    CommandLine &operator=(const CommandLine &) = delete;

    // The arguments of main() as Qt's application object reads them.
    static QStringList arguments(int argc, char *argv[]);

    // True when the application is to start as usual.
    bool startsApplication() const { return m_request == Request::Start; }

    // --verbose: the shell's own debug lines on standard error and in the log.
    bool isVerbose() const { return m_verbose; }

    // Otherwise: writes the help or the version (with runsOn, the Qt and
    // the browser engine it runs on) to out, or what was wrong and the
    // usage to errors, and returns the exit code. Read again for it, so
    // that the texts come in the language of the translations installed by
    // then; the usage names the program from the application object, which
    // must exist.
    int answer(QTextStream &out, QTextStream &errors, const QString &runsOn) const;

private:
    enum class Request { Start, Help, Version, Refused };

    // The parser with the program's options, described in the current language.
    static void describe(QCommandLineParser &parser);
    Request read(QCommandLineParser &parser, QString *refusal) const;

    const QStringList m_arguments;
    Request m_request;
    bool m_verbose = false;
};

#endif // COMMANDLINE_H
