#include "app/trust/pageorigins.h"

PageOrigins::PageOrigins(const QUrl &server, const QString &trusted, const QString &signIn)
    : m_trusted(server, trusted)
    , m_signIn(signIn)
{
}
