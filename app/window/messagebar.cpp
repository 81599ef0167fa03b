#include "app/window/messagebar.h"

#include <QAccessible>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

MessageBar::MessageBar(QWidget *parent)
    : QWidget(parent)
    , m_lines(new QVBoxLayout(this))
{
    m_lines->setContentsMargins(0, 0, 0, 0);
    m_lines->setSpacing(0);
    setAccessibleName(tr("Messages"));
    hide();
}

void MessageBar::showMessage(const QString &text)
{
    // The same message again only starts its time afresh.
    for (int index = m_lines->count() - 1; index >= 0; --index) {
        QWidget *line = m_lines->itemAt(index)->widget();
        if (line->accessibleName() == text)
            removeLine(line);
    }
    while (m_lines->count() >= mostShown)
        removeLine(m_lines->itemAt(0)->widget());
    QWidget *line = addLine(text);
    show();
    // Screen readers announce it as they announce a message box.
    QAccessibleEvent alert(line, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

// One message: an icon, the text (selectable, so the keyboard reaches it)
// and a close button, on the colours of a tooltip so it stands out from the page.
QWidget *MessageBar::addLine(const QString &text)
{
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::StyledPanel);
    line->setAutoFillBackground(true);
    line->setBackgroundRole(QPalette::ToolTipBase);
    line->setForegroundRole(QPalette::ToolTipText);
    line->setAccessibleName(text);

    auto *icon = new QLabel(line);
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this)
                            .pixmap(iconSize, iconSize));
    auto *label = new QLabel(line);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setForegroundRole(QPalette::ToolTipText);
    auto *close = new QToolButton(line);
    close->setAutoRaise(true);
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton, nullptr, this));
    close->setToolTip(tr("Close this message"));
    close->setAccessibleName(tr("Close this message"));
    close->setFocusPolicy(Qt::TabFocus);

    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(6, 2, 2, 2);
    layout->addWidget(icon);
    layout->addWidget(label, 1);
    layout->addWidget(close);
    m_lines->addWidget(line);

    connect(close, &QToolButton::clicked, this, [this, line] { removeLine(line); });
    QTimer::singleShot(shownForMs, line, [this, line] { removeLine(line); });
    return line;
}

void MessageBar::removeLine(QWidget *line)
{
    m_lines->removeWidget(line);
    line->hide();
    line->deleteLater();
    if (m_lines->count() == 0)
        hide();
}
