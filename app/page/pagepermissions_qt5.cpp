// Qt 5 and Qt 6 before 6.8 ask through the page's features.
#include "app/page/pagepermissions.h"

#include <QWebEnginePage>
#include <QWebEngineSettings>

#include <algorithm>
#include <iterator>

namespace {

// Each feature in words for the log, and whether the web application's own
// origins may have it.
struct Rule
{
    QWebEnginePage::Feature feature;
    const char *name;
    bool trustedMayHaveIt;
};

constexpr Rule rules[] = {
        {QWebEnginePage::Notifications, "notifications", true},
        {QWebEnginePage::Geolocation, "location", false},
        {QWebEnginePage::MediaAudioCapture, "microphone", false},
        {QWebEnginePage::MediaVideoCapture, "camera", false},
        {QWebEnginePage::MediaAudioVideoCapture, "microphone and camera", false},
        {QWebEnginePage::MouseLock, "mouse lock", false},
        {QWebEnginePage::DesktopVideoCapture, "screen capture", false},
        {QWebEnginePage::DesktopAudioVideoCapture, "screen and sound capture", false},
};

} // namespace

void PagePermissions::answerRequests()
{
    connect(m_page, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl &origin, QWebEnginePage::Feature feature) {
                const auto rule = std::find_if(std::begin(rules), std::end(rules),
                        [feature](const Rule &rule) { return rule.feature == feature; });
                const bool known = rule != std::end(rules);
                const bool granted = grants(origin,
                        known ? QString::fromLatin1(rule->name)
                              : QStringLiteral("permission %1").arg(int(feature)),
                        known && rule->trustedMayHaveIt);
                m_page->setFeaturePermission(origin, feature,
                        granted ? QWebEnginePage::PermissionGrantedByUser
                                : QWebEnginePage::PermissionDeniedByUser);
            });
    // The page may write the clipboard; reading it also needs JavascriptCanPaste,
    // which stays off. The engine's switch holds for all of the page's frames.
    m_page->settings()->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, true);
}
