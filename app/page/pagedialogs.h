#ifndef PAGEDIALOGS_H
#define PAGEDIALOGS_H

#include <QString>

class QWidget;

// The dialogs a page opens with alert(), confirm() and prompt(), and the
// question before a page with unsaved work goes: titled with the
// application's name (not the page's address) and held by the window. The
// page's text is shown as text, never as markup.
namespace PageDialogs {

void alert(QWidget *window, const QString &message);
bool confirm(QWidget *window, const QString &message);
// False when cancelled; else result holds what the person entered.
bool prompt(QWidget *window, const QString &message, const QString &defaultValue, QString *result);
// "Leave this page?": true for Leave, false for Stay.
bool askToLeave(QWidget *window);

} // namespace PageDialogs

#endif // PAGEDIALOGS_H
