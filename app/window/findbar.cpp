#include "app/window/findbar.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace {

QToolButton *button(QWidget *parent, QStyle::StandardPixmap icon, const QString &name)
{
    auto *tool = new QToolButton(parent);
    tool->setAutoRaise(true);
    tool->setIcon(parent->style()->standardIcon(icon, nullptr, parent));
    tool->setToolTip(name);
    tool->setAccessibleName(name);
    return tool;
}

} // namespace

FindBar::FindBar(QWebEnginePage *page, QWidget *parent)
    : QWidget(parent)
    , m_page(page)
    , m_text(new QLineEdit(this))
    , m_matches(new QLabel(this))
{
    setAccessibleName(tr("Find in page"));
    m_text->setPlaceholderText(tr("Find in page"));
    m_text->setAccessibleName(tr("Find in page"));
    QToolButton *previous = button(this, QStyle::SP_ArrowUp, tr("Previous match"));
    QToolButton *next = button(this, QStyle::SP_ArrowDown, tr("Next match"));
    QToolButton *closeButton
            = button(this, QStyle::SP_TitleBarCloseButton, tr("Close the find bar"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_matches);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(closeButton);

    connect(m_text, &QLineEdit::textEdited, this, [this] { find(false); });
    connect(m_text, &QLineEdit::returnPressed, this,
            [this] { find(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier); });
    connect(previous, &QToolButton::clicked, this, [this] { find(true); });
    connect(next, &QToolButton::clicked, this, [this] { find(false); });
    connect(closeButton, &QToolButton::clicked, this, &FindBar::close);
    connect(page, &QWebEnginePage::findTextFinished, this, &FindBar::showResult);
    // Typed while the page loads, the text was looked for in the part of it
    // there was then.
    connect(page, &QWebEnginePage::loadFinished, this, &FindBar::findAgain);
    hide();
}

void FindBar::open()
{
    show();
    m_text->setFocus();
    m_text->selectAll();
}

void FindBar::close()
{
    hide();
    m_matches->clear();
    m_page->findText(QString());
    emit closed();
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FindBar::find(bool backward)
{
    m_page->findText(
            m_text->text(), backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags());
}

void FindBar::findAgain()
{
    if (isHidden() || m_text->text().isEmpty())
        return;
    // The engine finds again by itself once the page has loaded, but that
    // answer never reaches findTextFinished, so a new session asks again.
    // Ending the old one selects its match, and the new one would start past it.
    m_endingSession = true;
    m_page->findText(QString());
    m_endingSession = false;
    m_page->runJavaScript(
            QStringLiteral("getSelection().removeAllRanges()"), QWebEngineScript::ApplicationWorld);
    find(false);
}

void FindBar::showResult(const QWebEngineFindTextResult &result)
{
    if (m_endingSession)
        return; // the empty answer of ending the session, not the page's
    if (m_text->text().isEmpty())
        m_matches->clear();
    else if (result.numberOfMatches() == 0)
        m_matches->setText(tr("Not found"));
    else
        m_matches->setText(tr("%1 of %2").arg(result.activeMatch()).arg(result.numberOfMatches()));
}
