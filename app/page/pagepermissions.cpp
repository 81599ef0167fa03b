#include "app/page/pagepermissions.h"

#include "base/standarderror.h"

#include <QWebEnginePage>

PagePermissions::PagePermissions(QWebEnginePage *page, const TrustedOrigins &trustedOrigins)
    : QObject(page)
    , m_page(page)
    , m_trustedOrigins(trustedOrigins)
{
    answerRequests();
}

bool PagePermissions::grantsFullScreen(const QUrl &origin) const
{
    return grants(origin, QStringLiteral("full screen"), true);
}

bool PagePermissions::grants(
        const QUrl &origin, const QString &permission, bool trustedMayHaveIt) const
{
    const bool granted = trustedMayHaveIt && m_trustedOrigins.isTrusted(origin);
    if (!granted)
        reportRefusal(permission, origin);
    return granted;
}

void PagePermissions::reportRefusal(const QString &permission, const QUrl &origin)
{
    const QUrl::FormattingOptions originOnly = QUrl::RemoveUserInfo | QUrl::RemovePath
            | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::FullyEncoded;
    StandardError::writeLine(
            QStringLiteral("Permission refused: %1 for %2")
                    .arg(permission, QString::fromLatin1(origin.toEncoded(originOnly))));
}
