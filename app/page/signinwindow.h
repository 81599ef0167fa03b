#ifndef SIGNINWINDOW_H
#define SIGNINWINDOW_H

#include <QPointer>
#include <QWebEngineView>
#include <QWidget>

class QWebEnginePage;

// A sign-in page that the web application opened as a window of its own, a
// top-level window over the application's: titled by its page, closed by
// the page's window.close() or by the person, and gone with its page. The
// person's close goes through the page as a browser's does, so its unload
// handlers run and the page that opened it learns it was closed.
class SignInWindow : public QWidget
{
    Q_OBJECT

public:
    SignInWindow(QWidget *over, QWebEnginePage *page);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showTitle();
    void pageClosed();

    QWebEngineView m_view;
    QPointer<QWebEnginePage> m_page;
    // The page agreed to go (or its renderer has gone); until then a close
    // asks the page first.
    bool m_pageDone = false;
};

#endif // SIGNINWINDOW_H
