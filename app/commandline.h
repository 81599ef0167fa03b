#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

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

    // Otherwise: writes the help or the version to out, or what was wrong
    // and the usage to errors, and returns the exit code. The usage names
    // the program from the application object, which must exist by then.
    int answer(QTextStream &out, QTextStream &errors) const;

private:
    enum class Request { Start, Help, Version, Refused };

    void addQtOptions();
    Request read(const QStringList &arguments);

    QCommandLineParser m_parser;
    QString m_refusal;
    Request m_request;
};

#endif // COMMANDLINE_H
