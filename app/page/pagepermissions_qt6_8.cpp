// Qt 6.8 on asks through QWebEnginePermission, and would keep its answers.
#include "app/page/pagepermissions.h"

#include "app/page/pagescript.h"

#include <QWebEngineDesktopMediaRequest>
#include <QWebEnginePage>
#include <QWebEnginePermission>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include <algorithm>
#include <iterator>

namespace {

using Type = QWebEnginePermission::PermissionType;

// Each permission in words for the log, and whether the web application's
// own origins may have it. The engine asks the one clipboard permission for
// writing and for reading, so no origin gets it: the page writes through the
// clipboard switch, as with the earlier engines (web/clipboard/writebycopy.js).
struct Rule
{
    Type type;
    const char *name;
    bool trustedMayHaveIt;
};

constexpr Rule rules[] = {
        {Type::Notifications, "notifications", true},
        {Type::ClipboardReadWrite, "clipboard", false},
        {Type::Geolocation, "location", false},
        {Type::MediaAudioCapture, "microphone", false},
        {Type::MediaVideoCapture, "camera", false},
        {Type::MediaAudioVideoCapture, "microphone and camera", false},
        {Type::MouseLock, "mouse lock", false},
        {Type::DesktopVideoCapture, "screen capture", false},
        {Type::DesktopAudioVideoCapture, "screen and sound capture", false},
        {Type::LocalFontsAccess, "local fonts", false},
};

} // namespace

void PagePermissions::answerRequests()
{
    // Asked each time, so that an answer kept from an earlier start (or
    // given to an origin trusted then) never stands for the window's policy.
    m_page->profile()->setPersistentPermissionsPolicy(
            QWebEngineProfile::PersistentPermissionsPolicy::AskEveryTime);
    connect(m_page, &QWebEnginePage::permissionRequested, this,
            [this](QWebEnginePermission permission) {
                const Type type = permission.permissionType();
                const auto rule = std::find_if(std::begin(rules), std::end(rules),
                        [type](const Rule &rule) { return rule.type == type; });
                const bool known = rule != std::end(rules);
                const bool granted = grants(permission.origin(),
                        known ? QString::fromLatin1(rule->name)
                              : QStringLiteral("permission %1").arg(int(type)),
                        known && rule->trustedMayHaveIt);
                if (granted)
                    permission.grant();
                else
                    permission.deny();
            });
    // Screen capture is asked for here; the request names no frame, so the
    // refusal names the page's origin.
    connect(m_page, &QWebEnginePage::desktopMediaRequested, this,
            [this](const QWebEngineDesktopMediaRequest &request) {
                grants(m_page->url(), QStringLiteral("screen capture"), false);
                request.cancel();
            });
    // The page may write the clipboard; reading it also needs JavascriptCanPaste,
    // which stays off. The engine's switch holds for all of the page's frames.
    m_page->settings()->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, true);
    m_page->scripts().insert(PageScript::fromResource(QStringLiteral("clipboard/writebycopy.js"),
            QWebEngineScript::MainWorld, true));
}
