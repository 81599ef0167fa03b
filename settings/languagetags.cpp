#include "settings/languagetags.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// "de-Latn-DE" without its script is "de-DE"; a tag without a script is itself.
QString withoutScript(const QString &tag)
{
    QStringList parts = tag.split(QLatin1Char('-'));
    if (parts.size() > 1 && parts.at(1).size() == 4)
        parts.removeAt(1);
    return parts.join(QLatin1Char('-'));
}

// A language tag as RFC 4647 ranges allow in the header: letters and
// digits in parts of up to eight, or "*"; anything else is dropped.
bool isLanguageTag(const QString &tag)
{
    static const QRegularExpression form(
            QStringLiteral("^([A-Za-z]{1,8}(-[A-Za-z0-9]{1,8})*|\\*)$"));
    return form.match(tag).hasMatch() && tag.compare(QLatin1String("C"), Qt::CaseInsensitive) != 0;
}

} // namespace

QStringList LanguageTags::chosen(const QString &setting, const QStringList &uiLanguages)
{
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    const QStringList set = setting.split(separators, Qt::SkipEmptyParts);
    QStringList languages;
    for (const QString &tag : set.isEmpty() ? uiLanguages : set) {
        if (!isLanguageTag(tag) || languages.contains(tag, Qt::CaseInsensitive))
            continue;
        if (set.isEmpty() && tag != withoutScript(tag) && uiLanguages.contains(withoutScript(tag)))
            continue;
        languages.append(tag);
    }
    return languages;
}

QString LanguageTags::acceptLanguage(const QStringList &languages)
{
    QStringList ranges;
    for (int index = 0; index < languages.size(); ++index) {
        // Weights 0.9 down to 0.1, then 0.1 for the rest.
        const int tenths = std::max(1, 10 - index);
        ranges.append(index == 0
                        ? languages.at(index)
                        : QStringLiteral("%1;q=0.%2").arg(languages.at(index)).arg(tenths));
    }
    return ranges.join(QLatin1Char(','));
}
