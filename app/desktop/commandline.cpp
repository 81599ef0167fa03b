#include "app/desktop/commandline.h"

#include "app/desktop/version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

namespace {

const QString helpOption = QStringLiteral("help");
const QString versionOption = QStringLiteral("version");
const QString verboseOption = QStringLiteral("verbose");

// The browser engine's switches follow this one. Qt 6 hands the engine only
// what follows it; Qt 5 hands it the whole command line, where the separator
// is one more switch the engine does not know and ignores. The engine finds
// it whatever its case.
const QString engineSeparator = QStringLiteral("--webEngineArgs");

// What QCoreApplication, QGuiApplication, QApplication and the X11 platform
// plugin read from the command line and document; each also takes two
// dashes, and a value either as the next argument or after "=".
struct QtOption
{
    const char *name;
    const char *valueName;
};
constexpr QtOption qtOptions[] = {
        {"platform", "platformName[:options]"},
        {"platformpluginpath", "path"},
        {"platformtheme", "theme"},
        {"plugin", "plugin"},
        {"qmljsdebugger", "options"},
        {"qwindowgeometry", "geometry"},
        {"qwindowicon", "icon"},
        {"qwindowtitle", "title"},
        {"reverse", nullptr},
        {"session", "session"},
        {"style", "style"},
        {"stylesheet", "stylesheet"},
        {"testability", nullptr},
        {"widgetcount", nullptr},
        {"display", "display"},
        {"dograb", nullptr},
        {"geometry", "geometry"},
        {"icon", "icon"},
        {"name", "name"},
        {"nograb", nullptr},
        {"title", "title"},
        {"visual", "id"},
};

} // namespace

CommandLine::CommandLine(const QStringList &arguments)
    : m_arguments(arguments)
{
    QCommandLineParser parser;
    describe(parser);
    QString refusal;
    m_request = read(parser, &refusal);
    m_verbose = m_request == Request::Start && parser.isSet(verboseOption);
}

QStringList CommandLine::arguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    return arguments;
}

void CommandLine::describe(QCommandLineParser &parser)
{
    // Qt's options are words after one dash (-platform, not -p -l -a ...).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QString description = QCoreApplication::translate("CommandLine",
            "Desktop shell of the Mird colour-measurement web application.\n"
            "Qt's own options (-platform, -style, ...) are accepted; the browser engine's\n"
            "switches follow %1.");
    parser.setApplicationDescription(description.arg(engineSeparator));
    parser.addOption({{QStringLiteral("h"), helpOption},
            QCoreApplication::translate("CommandLine", "Shows this help and exits.")});
    parser.addOption({{QStringLiteral("v"), versionOption},
            QCoreApplication::translate("CommandLine", "Shows the version and exits.")});
    parser.addOption({verboseOption,
            QCoreApplication::translate("CommandLine",
                    "Writes the shell's own debug lines to standard error and the log.")});
    for (const QtOption &option : qtOptions) {
        QCommandLineOption qtOption(QString::fromLatin1(option.name));
        if (option.valueName)
            qtOption.setValueName(QString::fromLatin1(option.valueName));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
}

CommandLine::Request CommandLine::read(QCommandLineParser &parser, QString *refusal) const
{
    QStringList ours = m_arguments;
    for (int index = 1; index < ours.size(); ++index) {
        if (ours.at(index).compare(engineSeparator, Qt::CaseInsensitive) == 0) {
            ours = ours.mid(0, index);
            break;
        }
    }
    if (!parser.parse(ours)) {
        *refusal = parser.errorText();
        return Request::Refused;
    }
    const QStringList unexpected = parser.positionalArguments();
    if (!unexpected.isEmpty()) {
        *refusal = QCoreApplication::translate("CommandLine", "Unexpected argument '%1'.")
                           .arg(unexpected.first());
        return Request::Refused;
    }
    if (parser.isSet(helpOption))
        return Request::Help;
    if (parser.isSet(versionOption))
        return Request::Version;
    return Request::Start;
}

int CommandLine::answer(QTextStream &out, QTextStream &errors, const QString &runsOn) const
{
    QCommandLineParser parser;
    describe(parser);
    QString refusal;
    read(parser, &refusal);
    switch (m_request) {
    case Request::Help:
        out << parser.helpText();
        return 0;
    case Request::Version:
        out << "vantrelnut " VANTRELNUT_VERSION "\n" << runsOn << '\n';
        return 0;
    case Request::Refused:
        errors << "vantrelnut: " << refusal << "\n\n" << parser.helpText();
        return 1;
    case Request::Start:
        break; // nothing to answer: the application starts
    }
    return 0;
}
