#ifndef PAGEORIGINS_H
#define PAGEORIGINS_H

#include "app/trust/originlist.h"
#include "app/trust/trustedorigins.h"

// The origins whose documents the window shows: the web application's own,
// which alone get the bridge, and the company's sign-in pages
// (SignInOrigins), which the web application passes through on its way to a
// signed-in session and which get nothing else. An origin in both lists is
// trusted.
class PageOrigins
{
public:
    PageOrigins(const QUrl &server, const QString &trusted, const QString &signIn);

    const TrustedOrigins &trusted() const { return m_trusted; }
    bool isTrusted(const QUrl &url) const { return m_trusted.isTrusted(url); }
    bool isSignIn(const QUrl &url) const { return !isTrusted(url) && m_signIn.contains(url); }
    bool isShown(const QUrl &url) const { return isTrusted(url) || m_signIn.contains(url); }

private:
    const TrustedOrigins m_trusted;
    const OriginList m_signIn;
};

#endif // PAGEORIGINS_H
