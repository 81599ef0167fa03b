#ifndef TRUSTEDORIGINS_H
#define TRUSTEDORIGINS_H

#include "app/trust/originlist.h"

// The origins whose documents may hold the channel transport, and with it
// every slot of the bridge: the origin of the server address the window
// loads at start (for an http: address also https: on the same host, a
// server that upgrades itself) and those the deployer lists. A qrc: or
// file: address trusts every document of its scheme.
class TrustedOrigins : public OriginList
{
public:
    // listed: origins separated by white space.
    TrustedOrigins(const QUrl &server, const QString &listed);

    bool isTrusted(const QUrl &url) const { return contains(url); }
};

#endif // TRUSTEDORIGINS_H
