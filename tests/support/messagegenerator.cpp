#include "tests/support/messagegenerator.h"

#include <cmath>
#include <utility>

namespace {

// Message types of the web channel protocol.
enum MessageType {
    Signal = 1,
    PropertyUpdate = 2,
    Init = 3,
    Idle = 4,
    Debug = 5,
    InvokeMethod = 6,
    ConnectToSignal = 7,
    DisconnectFromSignal = 8,
    SetProperty = 9,
    Response = 10,
};

QByteArray number(qint64 value)
{
    return QByteArray::number(value);
}

} // namespace

MessageGenerator::MessageGenerator(quint64 seed, Target target)
    : m_target(std::move(target))
    , m_random(seed)
{
}

int MessageGenerator::uniform(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

MessageGenerator::Message MessageGenerator::next()
{
    const int kind = uniform(0, 999);
    if (kind < 450)
        return call();
    if (kind < 500)
        return callByName();
    if (kind < 600)
        return callOutsideTable();
    if (kind < 680)
        return callUnknownObject();
    if (kind < 780)
        return unknownTypeOrId();
    if (kind < 880)
        return otherType();
    return malformed();
}

QString MessageGenerator::fileName()
{
    QString name = QStringLiteral("report-%1").arg(m_nextFileName++);
    if (uniform(0, 3) == 0)
        name += anyText().remove(QLatin1Char('/'));
    if (uniform(0, 1) == 0)
        name = m_target.fileFolder + QLatin1Char('/') + name;
    m_fileNames.append(name);
    return name;
}

int MessageGenerator::anySlot()
{
    int total = 0;
    for (const Slot &slot : std::as_const(m_target.methods))
        total += slot.weight;
    int pick = uniform(0, total - 1);
    int slot = 0;
    while (pick >= m_target.methods.at(slot).weight)
        pick -= m_target.methods.at(slot++).weight;
    return slot;
}

MessageGenerator::Message MessageGenerator::call()
{
    const int slot = anySlot();
    return {invoke(number(InvokeMethod), quoted(m_target.objectName),
                    number(m_target.methodOffset + slot), arguments(slot), number(m_nextId++)),
            slot};
}

MessageGenerator::Message MessageGenerator::callByName()
{
    const int slot = uniform(0, m_target.methods.size() + 4);
    static const QStringList others {QStringLiteral("deleteLater"), QStringLiteral("destroyed"),
            QStringLiteral("objectNameChanged"), QStringLiteral("_q_reregisterTimers")};
    if (slot >= m_target.methods.size()) {
        const int other = slot - m_target.methods.size();
        const QString name = other < others.size() ? others.at(other) : anyText();
        return {invoke(number(InvokeMethod), quoted(m_target.objectName), quoted(name),
                        arguments(-1), number(m_nextId++)),
                -1};
    }
    return {invoke(number(InvokeMethod), quoted(m_target.objectName),
                    quoted(m_target.methods.at(slot).name), arguments(slot), number(m_nextId++)),
            slot};
}

MessageGenerator::Message MessageGenerator::callOutsideTable()
{
    // QObject's own methods come first in the table, then past the end and
    // numbers that are no index at all.
    const int end = m_target.methodOffset + m_target.methods.size();
    QByteArray method;
    switch (uniform(0, 5)) {
    case 0:
        method = number(uniform(0, m_target.methodOffset - 1));
        break;
    case 1:
        method = number(uniform(end, end + 1000));
        break;
    case 2:
        method = number(-uniform(1, 1 << 30));
        break;
    case 3:
        method = anyNumber();
        break;
    default:
        method = anyValue(1);
        break;
    }
    return {invoke(number(InvokeMethod), quoted(m_target.objectName), method, arguments(-1),
                    number(m_nextId++)),
            -1};
}

MessageGenerator::Message MessageGenerator::callUnknownObject()
{
    QString object;
    switch (uniform(0, 3)) {
    case 0:
        object = m_target.objectName.toUpper();
        break;
    case 1:
        object = m_target.objectName + QLatin1Char(' ');
        break;
    default:
        object = anyText();
        break;
    }
    const int slot = anySlot();
    return {invoke(number(InvokeMethod), quoted(object), number(m_target.methodOffset + slot),
                    arguments(slot), number(m_nextId++)),
            -1};
}

MessageGenerator::Message MessageGenerator::unknownTypeOrId()
{
    const int slot = anySlot();
    const QByteArray object = quoted(m_target.objectName);
    const QByteArray method = number(m_target.methodOffset + slot);
    if (uniform(0, 1) == 0) {
        static const QByteArrayList types {"-1", "0", "11", "99", "2147483648", "1e300", "6.5",
                "\"6\"", "null", "true", "[]", "{}"};
        return {invoke(types.at(uniform(0, types.size() - 1)), object, method, arguments(slot),
                        number(m_nextId++)),
                -1};
    }
    // A call all the same: the channel answers under whatever id it was given.
    return {invoke(number(InvokeMethod), object, method, arguments(slot), anyId()), slot};
}

MessageGenerator::Message MessageGenerator::otherType()
{
    static const QList<int> types {Signal, PropertyUpdate, Init, Idle, Debug, ConnectToSignal,
            DisconnectFromSignal, SetProperty, Response};
    const int type = types.at(uniform(0, types.size() - 1));
    const QByteArray object = uniform(0, 3) == 0 ? quoted(anyText()) : quoted(m_target.objectName);
    QByteArray text = "{\"type\":" + number(type) + ",\"id\":" + anyId() + ",\"object\":" + object;
    switch (uniform(0, 3)) {
    case 0:
        text += ",\"signal\":" + (uniform(0, 1) ? number(uniform(-2, 30)) : anyValue(1));
        break;
    case 1:
        text += ",\"property\":" + (uniform(0, 1) ? number(uniform(-2, 3)) : anyValue(1))
                + ",\"value\":" + anyValue();
        break;
    case 2:
        text += ",\"data\":" + anyValue();
        break;
    default:
        text += ",\"args\":" + arguments(-1);
        break;
    }
    return {text + '}', -1};
}

MessageGenerator::Message MessageGenerator::malformed()
{
    const QByteArray message = call().text;
    switch (uniform(0, 9)) {
    case 0:
        return {message.left(uniform(0, message.size() - 1)), -1};
    case 1: {
        QByteArray broken = message;
        for (int i = uniform(1, 8); i > 0; --i)
            broken[uniform(0, broken.size() - 1)] = char(uniform(0, 255));
        return {broken, -1};
    }
    case 2: {
        // Bytes that are not UTF-8 inside a text of a call that is otherwise fine.
        static const QByteArrayList bytes {"\xff", "\xc0\xaf", "\xed\xa0\x80", "\x80", "\xe2\x82"};
        return {invoke(number(InvokeMethod), quoted(m_target.objectName),
                        number(m_target.methodOffset + anySlot()),
                        "[\"a" + bytes.at(uniform(0, bytes.size() - 1)) + "b\"]",
                        number(m_nextId++)),
                -1};
    }
    case 3:
        return {QByteArray(uniform(1, 3000), '['), -1};
    case 4:
        return {anyValue(), -1}; // JSON, but no object
    case 5:
        return {message + message, -1};
    case 6: {
        QByteArray noise(uniform(0, 200), Qt::Uninitialized);
        for (char &byte : noise)
            byte = char(uniform(0, 255));
        return {noise, -1};
    }
    case 7:
        return {"{\"type\":6,\"type\":3," + message.mid(1), -1};
    case 8:
        return {"{\"type\":6 /* comment */,\"id\":1}", -1};
    default:
        return {message + QByteArray("\0garbage", 8), -1};
    }
}

QByteArray MessageGenerator::invoke(const QByteArray &type, const QByteArray &object,
        const QByteArray &method, const QByteArray &arguments, const QByteArray &id)
{
    return "{\"type\":" + type + ",\"object\":" + object + ",\"method\":" + method
            + ",\"args\":" + arguments + ",\"id\":" + id + '}';
}

QByteArray MessageGenerator::arguments(int slot)
{
    if (uniform(0, 19) == 0)
        return anyValue(1); // args that are no array
    QList<Parameter> parameters;
    if (slot >= 0 && uniform(0, 4) > 1) {
        parameters = m_target.methods.at(slot).parameters;
    } else {
        for (int i = uniform(0, 12); i > 0; --i)
            parameters.append(Parameter(uniform(0, 3)));
    }
    QByteArray list = "[";
    for (const Parameter parameter : std::as_const(parameters)) {
        if (list.size() > 1)
            list += ',';
        list += uniform(0, 3) == 0 ? anyValue() : argument(parameter);
    }
    return list + ']';
}

QByteArray MessageGenerator::argument(Parameter parameter)
{
    switch (parameter) {
    case Parameter::Flag:
        return uniform(0, 1) ? "true" : "false";
    case Parameter::Url:
        if (uniform(0, 1) == 0)
            return quoted(m_target.reportUrl(anyText().remove(QLatin1Char('/'))));
        break;
    case Parameter::FileName:
        return quoted(fileName());
    case Parameter::Text:
        break;
    }
    return quoted(uniform(0, 399) == 0 ? longText() : anyText());
}

QByteArray MessageGenerator::anyValue(int depth)
{
    switch (uniform(0, depth < 3 ? 7 : 4)) {
    case 0:
        return anyNumber();
    case 1:
        return quoted(uniform(0, 999) == 0 ? longText() : anyText());
    case 2:
        return uniform(0, 1) ? "true" : "false";
    case 3:
        return "null";
    case 4:
        return quoted(QString());
    case 5: {
        QByteArray array = "[";
        for (int i = uniform(0, 5); i > 0; --i)
            array += anyValue(depth + 1) + (i > 1 ? "," : "");
        return array + ']';
    }
    case 6:
        // What qwebchannel.js sends for a published object.
        return "{\"id\":" + quoted(uniform(0, 1) ? m_target.objectName : anyText()) + '}';
    default: {
        QByteArray object = "{";
        for (int i = uniform(0, 4); i > 0; --i)
            object += quoted(anyText()) + ':' + anyValue(depth + 1) + (i > 1 ? "," : "");
        return object + '}';
    }
    }
}

QByteArray MessageGenerator::anyNumber()
{
    static const QByteArrayList special {"0", "-0", "1", "-1", "2147483647", "2147483648",
            "-2147483649", "9007199254740993", "1e308", "-1e308", "1e-320", "0.5", "1e400"};
    if (uniform(0, 1) == 0)
        return special.at(uniform(0, special.size() - 1));
    const double value = std::uniform_real_distribution<double>(-1e6, 1e6)(m_random);
    return QByteArray::number(uniform(0, 1) ? std::floor(value) : value, 'g', 17);
}

QByteArray MessageGenerator::anyId()
{
    switch (uniform(0, 5)) {
    case 0:
        return "null";
    case 1:
        return quoted(anyText());
    case 2:
        return anyValue(2);
    case 3:
        return anyNumber();
    default:
        return number(m_nextId++);
    }
}

QString MessageGenerator::anyText()
{
    QString text;
    for (int i = uniform(0, uniform(0, 1) ? 8 : 60); i > 0; --i) {
        if (uniform(0, 19) == 0)
            text += QStringLiteral("\U0001F600"); // a well-formed pair
        else
            text += anyCharacter();
    }
    return text;
}

QString MessageGenerator::longText()
{
    QString piece;
    for (int i = 0; i < 1024; ++i)
        piece += anyCharacter();
    return piece.repeated(uniform(64, 1024));
}

QChar MessageGenerator::anyCharacter()
{
    switch (uniform(0, 9)) {
    case 0:
        return QChar(char16_t(uniform(0, 0x1f))); // control characters
    case 1:
        return QChar(char16_t(uniform(0xd800, 0xdfff))); // surrogates, mostly left unpaired
    case 2:
        return QChar(char16_t(uniform(0x80, 0xfffd)));
    case 3: {
        static const QString specials = QStringLiteral("\"\\%?#&=:;.,\u00e9\u20ac\ufffd\ufeff");
        return specials.at(uniform(0, specials.size() - 1));
    }
    default: {
        // No slash: a text must never name a folder outside the test's own.
        const QChar character(char16_t(uniform(0x20, 0x7e)));
        return character == QLatin1Char('/') ? QLatin1Char('_') : character;
    }
    }
}

QByteArray MessageGenerator::quoted(const QString &text)
{
    QByteArray json = "\"";
    json.reserve(text.size() + 2);
    int plainFrom = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar character = text.at(i);
        const ushort unit = character.unicode();
        if (unit >= 0x20 && unit != '"' && unit != '\\' && !character.isSurrogate())
            continue;
        json += text.mid(plainFrom, i - plainFrom).toUtf8();
        plainFrom = i + 1;
        if (unit == '"' || unit == '\\') {
            json += '\\';
            json += char(unit);
        } else {
            // Escaped, as JSON.stringify writes a surrogate it cannot pair.
            json += "\\u" + QByteArray::number(unit, 16).rightJustified(4, '0');
        }
    }
    json += text.mid(plainFrom).toUtf8();
    return json + '"';
}
