#include "commandline.h"

#include "version.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

const QString helpOption = QStringLiteral("help");
const QString versionOption = QStringLiteral("version");

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
{
    // Qt's options are words after one dash (-platform, not -p -l -a ...).
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QString description = QCoreApplication::translate("CommandLine",
            "Desktop shell of the Mird colour-measurement web application.\n"
            "Qt's own options (-platform, -style, ...) are accepted; the browser engine's\n"
            "switches follow %1.");
    m_parser.setApplicationDescription(description.arg(engineSeparator));
    m_parser.addOption({{QStringLiteral("h"), helpOption},
            QCoreApplication::translate("CommandLine", "Shows this help and exits.")});
    m_parser.addOption({{QStringLiteral("v"), versionOption},
            QCoreApplication::translate("CommandLine", "Shows the version and exits.")});
    addQtOptions();
    m_request = read(arguments);
}

QStringList CommandLine::arguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    return arguments;
}

void CommandLine::addQtOptions()
{
    for (const QtOption &option : qtOptions) {
        QCommandLineOption qtOption(QString::fromLatin1(option.name));
        if (option.valueName)
            qtOption.setValueName(QString::fromLatin1(option.valueName));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        m_parser.addOption(qtOption);
    }
}

CommandLine::Request CommandLine::read(const QStringList &arguments)
{
    QStringList ours = arguments;
    for (int index = 1; index < ours.size(); ++index) {
        if (ours.at(index).compare(engineSeparator, Qt::CaseInsensitive) == 0) {
            ours = ours.mid(0, index);
            break;
        }
    }
    if (!m_parser.parse(ours)) {
        m_refusal = m_parser.errorText();
        return Request::Refused;
    }
    const QStringList unexpected = m_parser.positionalArguments();
    if (!unexpected.isEmpty()) {
        m_refusal = QCoreApplication::translate("CommandLine", "Unexpected argument '%1'.")
                            .arg(unexpected.first());
        return Request::Refused;
    }
    if (m_parser.isSet(helpOption))
        return Request::Help;
    if (m_parser.isSet(versionOption))
        return Request::Version;
    return Request::Start;
}

int CommandLine::answer(QTextStream &out, QTextStream &errors) const
{
    switch (m_request) {
    case Request::Help:
        out << m_parser.helpText();
        return 0;
    case Request::Version:
        out << "vantrelnut " VANTRELNUT_VERSION "\n";
        return 0;
    case Request::Refused:
        errors << "vantrelnut: " << m_refusal << "\n\n" << m_parser.helpText();
        return 1;
    case Request::Start:
        break; // nothing to answer: the application starts
    }
    return 0;
}
