#ifndef NETWORKPOLLING_H
#define NETWORKPOLLING_H

namespace NetworkPolling {

// Qt 5's network layer polls the network interfaces every ten seconds through
// its bearer plugins once a QNetworkAccessManager exists, which stalls some
// Wi-Fi adapters; the report downloader needs none of it. Switches the polling
// off for this process; must run before the first manager is created. Qt 6
// has no bearer layer, so nothing polls there.
void switchOff();

} // namespace NetworkPolling

#endif // NETWORKPOLLING_H
