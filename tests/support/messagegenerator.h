#ifndef MESSAGEGENERATOR_H
#define MESSAGEGENERATOR_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <random>

// Writes web channel messages as a hostile or broken page would send them,
// as JSON text: calls with wrong argument counts and types, unknown objects,
// methods, message types and ids, and text that is not JSON at all. The same
// seed gives the same messages.
class MessageGenerator
{
public:
    enum class Parameter { Text, Flag, Url, FileName };

    struct Slot
    {
        QString name;
        QList<Parameter> parameters;
        // How often it is called, against the others.
        int weight = 10;
    };

    struct Target
    {
        QString objectName;
        int methodOffset = 0;
        // The object's own methods, in their order from methodOffset on.
        QList<Slot> methods;
        // An address that answers without a report, for this path.
        std::function<QString(const QString &path)> reportUrl;
        // A folder in which the page may name files.
        QString fileFolder;
    };

    struct Message
    {
        QByteArray text;
        // The object's method that the message calls when the channel can
        // tell it (by index or name), else -1.
        int slot = -1;
    };

    MessageGenerator(quint64 seed, Target target);

    Message next();

    // A file name in the folder, relative to it or absolute, never the same twice.
    QString fileName();
    // Every file name that went into a file name parameter.
    QStringList fileNames() const { return m_fileNames; }

    int uniform(int low, int high);

private:
    int anySlot();
    Message call();
    Message callByName();
    Message callOutsideTable();
    Message callUnknownObject();
    Message unknownTypeOrId();
    Message otherType();
    Message malformed();

    QByteArray invoke(const QByteArray &type, const QByteArray &object, const QByteArray &method,
            const QByteArray &arguments, const QByteArray &id);
    QByteArray arguments(int slot);
    QByteArray argument(Parameter parameter);
    QByteArray anyValue(int depth = 0);
    QByteArray anyNumber();
    QByteArray anyId();
    QString anyText();
    QString longText();
    QChar anyCharacter();

    static QByteArray quoted(const QString &text);

    Target m_target;
    std::mt19937_64 m_random;
    int m_nextId = 1;
    int m_nextFileName = 1;
    QStringList m_fileNames;
};

#endif // MESSAGEGENERATOR_H
