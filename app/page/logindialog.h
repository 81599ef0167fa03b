#ifndef LOGINDIALOG_H
#define LOGINDIALOG_H

#include <QDialog>

class QAuthenticator;
class QLineEdit;

// Asks for a user name and password when a server or a proxy asks the page
// to log in (HTTP authentication): the host, and the realm the server names
// as text. The engine keeps what is entered for this run only.
class LoginDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Asker { Server, Proxy };

    // On OK the authenticator carries the user name and password; on Cancel
    // it is made empty, and the page shows what the server sent.
    static void ask(
            QWidget *window, Asker asker, const QString &host, QAuthenticator *authenticator);

private:
    LoginDialog(QWidget *window, Asker asker, const QString &host, const QString &realm);

    QLineEdit *const m_user;
    QLineEdit *const m_password;
};

#endif // LOGINDIALOG_H
