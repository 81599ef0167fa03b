#include "app/page/signinwindow.h"

#include <QCloseEvent>
#include <QVBoxLayout>
#include <QWebEnginePage>

namespace {

// A provider's sign-in form at a size it is laid out for.
constexpr QSize initialSize(520, 680);

} // namespace

SignInWindow::SignInWindow(QWidget *over, QWebEnginePage *page)
    : QWidget(over, Qt::Dialog) // over it, and kept over it by the window manager
    , m_page(page)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&m_view);
    m_view.setPage(page);
    connect(page, &QWebEnginePage::titleChanged, this, &SignInWindow::showTitle);
    connect(page, &QWebEnginePage::urlChanged, this, &SignInWindow::showTitle);
    connect(page, &QWebEnginePage::windowCloseRequested, this, &SignInWindow::pageClosed);
    connect(page, &QWebEnginePage::renderProcessTerminated, this, [this] { m_pageDone = true; });
    connect(page, &QWebEnginePage::geometryChangeRequested, this,
            [this](const QRect &geometry) { resize(geometry.size()); });
    // The page goes with the page that opened it, or when this closes.
    connect(page, &QObject::destroyed, this, &QObject::deleteLater);
    showTitle();
    resize(initialSize);
    move(over->geometry().center() - rect().center());
    show();
    m_view.setFocus();
}

void SignInWindow::showTitle()
{
    const QString title = m_page ? m_page->title() : QString();
    setWindowTitle(title.isEmpty() && m_page ? m_page->url().host() : title);
}

void SignInWindow::closeEvent(QCloseEvent *event)
{
    if (m_page && !m_pageDone) {
        event->ignore();
        m_page->triggerAction(QWebEnginePage::RequestClose);
        return;
    }
    event->accept();
}

void SignInWindow::pageClosed()
{
    m_pageDone = true;
    close();
    m_page->deleteLater();
}
