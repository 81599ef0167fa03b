#include "page/pagepermissions.h"

#include "base/standarderror.h"

#include <QWebEngineSettings>

PagePermissions::PagePermissions(QWebEnginePage *page, const TrustedOrigins &trustedOrigins)
    : QObject(page)
    , m_page(page)
    , m_trustedOrigins(trustedOrigins)
{
    connect(page, &QWebEnginePage::featurePermissionRequested, this, &PagePermissions::answer);
    // The page may write the clipboard; reading it also needs JavascriptCanPaste,
    // which stays off. The engine's switch holds for all of the page's frames.
    page->settings()->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, true);
}

bool PagePermissions::grants(
        const TrustedOrigins &trustedOrigins, const QUrl &origin, QWebEnginePage::Feature feature)
{
    return feature == QWebEnginePage::Notifications && trustedOrigins.isTrusted(origin);
}

QString PagePermissions::name(QWebEnginePage::Feature feature)
{
    switch (feature) {
    case QWebEnginePage::Notifications:
        return QStringLiteral("notifications");
    case QWebEnginePage::Geolocation:
        return QStringLiteral("location");
    case QWebEnginePage::MediaAudioCapture:
        return QStringLiteral("microphone");
    case QWebEnginePage::MediaVideoCapture:
        return QStringLiteral("camera");
    case QWebEnginePage::MediaAudioVideoCapture:
        return QStringLiteral("microphone and camera");
    case QWebEnginePage::MouseLock:
        return QStringLiteral("mouse lock");
    case QWebEnginePage::DesktopVideoCapture:
        return QStringLiteral("screen capture");
    case QWebEnginePage::DesktopAudioVideoCapture:
        return QStringLiteral("screen and sound capture");
    }
    return QStringLiteral("permission %1").arg(int(feature));
}

bool PagePermissions::grantsFullScreen(const QUrl &origin) const
{
    const bool granted = m_trustedOrigins.isTrusted(origin);
    if (!granted)
        reportRefusal(QStringLiteral("full screen"), origin);
    return granted;
}

void PagePermissions::reportRefusal(const QString &permission, const QUrl &origin)
{
    const QUrl::FormattingOptions originOnly
            = QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::FullyEncoded;
    StandardError::writeLine(
            QStringLiteral("Permission refused: %1 for %2")
                    .arg(permission, QString::fromLatin1(origin.toEncoded(originOnly))));
}

void PagePermissions::answer(const QUrl &origin, QWebEnginePage::Feature feature)
{
    const bool granted = grants(m_trustedOrigins, origin, feature);
    if (!granted)
        reportRefusal(name(feature), origin);
    m_page->setFeaturePermission(origin, feature,
            granted ? QWebEnginePage::PermissionGrantedByUser
                    : QWebEnginePage::PermissionDeniedByUser);
}
