#include "app/page/logindialog.h"

#include <QAuthenticator>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

LoginDialog::LoginDialog(QWidget *window, Asker asker, const QString &host, const QString &realm)
    : QDialog(window)
    , m_user(new QLineEdit(this))
    , m_password(new QLineEdit(this))
{
    setWindowTitle(tr("Log In"));
    // The host and the realm come from the network: shown as text.
    auto *question = new QLabel(asker == Asker::Proxy
                    ? tr("The proxy server %1 asks you to log in.").arg(host)
                    : tr("The server %1 asks you to log in.").arg(host),
            this);
    question->setTextFormat(Qt::PlainText);
    question->setWordWrap(true);
    auto *realmLabel = new QLabel(this);
    realmLabel->setTextFormat(Qt::PlainText);
    realmLabel->setWordWrap(true);
    realmLabel->setText(realm);
    realmLabel->setAccessibleName(tr("Realm"));
    realmLabel->setVisible(!realm.isEmpty());
    m_password->setEchoMode(QLineEdit::Password);

    auto *form = new QFormLayout;
    form->addRow(tr("User name:"), m_user);
    form->addRow(tr("Password:"), m_password);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(question);
    layout->addWidget(realmLabel);
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_user->setFocus();
}

// The engine waits for the answer before this returns, so the dialog runs here.
void LoginDialog::ask(
        QWidget *window, Asker asker, const QString &host, QAuthenticator *authenticator)
{
    LoginDialog dialog(window, asker, host, authenticator->realm());
    if (dialog.exec() != QDialog::Accepted) {
        *authenticator = QAuthenticator();
        return;
    }
    authenticator->setUser(dialog.m_user->text());
    authenticator->setPassword(dialog.m_password->text());
}
