// Qt 5 tells only that a load failed: the engine's error code is read from
// the error page it shows.
#include "app/recovery/unreachablewatch.h"

#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace {

// Read in a world of our own from the document shown: the engine's error
// page, or the server's answer.
const QString errorCodeShown = QStringLiteral(
        "location.protocol === 'chrome-error:' && document.querySelector('.error-code')"
        " ? document.querySelector('.error-code').textContent : ''");

} // namespace

void UnreachableWatch::watchLoads()
{
    // Qt 5 tells only that a load failed, also when the server answered with
    // an error page of its own, whose status it keeps to itself.
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] { ++m_loads; });
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (ok) {
            emit shown();
            return;
        }
        const QPointer<UnreachableWatch> self(this);
        const int load = m_loads;
        const QUrl address = m_page->url();
        m_page->runJavaScript(errorCodeShown, QWebEngineScript::ApplicationWorld,
                [self, load, address](const QVariant &code) {
                    // Unless the page has moved on meanwhile.
                    if (self && self->m_loads == load)
                        self->finished(address, code.toString());
                });
    });
}

void UnreachableWatch::whenNetworkReachable(QObject *, std::function<void()>) { }
