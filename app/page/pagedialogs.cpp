#include "app/page/pagedialogs.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTextDocument>

namespace {

int ask(QMessageBox::Icon icon, QWidget *window, const QString &message,
        QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, QCoreApplication::applicationName(), message, buttons, window);
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

} // namespace

namespace PageDialogs {

void alert(QWidget *window, const QString &message)
{
    ask(QMessageBox::Information, window, message, QMessageBox::Ok);
}

bool confirm(QWidget *window, const QString &message)
{
    return ask(QMessageBox::Question, window, message, QMessageBox::Ok | QMessageBox::Cancel)
            == QMessageBox::Ok;
}

bool prompt(QWidget *window, const QString &message, const QString &defaultValue, QString *result)
{
    bool accepted = false;
    // The dialog's label takes markup; the page's text is made into it as text.
    const QString entered = QInputDialog::getText(window, QCoreApplication::applicationName(),
            Qt::convertFromPlainText(message), QLineEdit::Normal, defaultValue, &accepted);
    if (accepted && result)
        *result = entered;
    return accepted;
}

bool askToLeave(QWidget *window)
{
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(),
            QCoreApplication::translate(
                    "PageDialogs", "Leave this page? Changes you made may not be saved."),
            QMessageBox::NoButton, window);
    box.setTextFormat(Qt::PlainText);
    QPushButton *leave = box.addButton(
            QCoreApplication::translate("PageDialogs", "&Leave"), QMessageBox::DestructiveRole);
    QPushButton *stay = box.addButton(
            QCoreApplication::translate("PageDialogs", "&Stay"), QMessageBox::RejectRole);
    box.setDefaultButton(stay);
    box.setEscapeButton(stay);
    box.exec();
    return box.clickedButton() == leave;
}

} // namespace PageDialogs
