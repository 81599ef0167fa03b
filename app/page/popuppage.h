#ifndef POPUPPAGE_H
#define POPUPPAGE_H

#include <QWebEnginePage>

// Stands in for the window a page asked for: it is never shown and loads
// nothing, it only reports the address the popup was to show.
class PopupPage : public QWebEnginePage
{
    Q_OBJECT

public:
    PopupPage(QWebEngineProfile *profile, QObject *parent);

signals:
    void addressRequested(const QUrl &url);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
};

#endif // POPUPPAGE_H
