#ifndef NETWORKPOLLING_H
#define NETWORKPOLLING_H

// Qt 5's network layer polls the network interfaces every ten seconds through
// its bearer plugins once a QNetworkAccessManager exists, which stalls some
// Wi-Fi adapters; the report downloader needs none of it. Switches the polling
// off for this process; must run before the first manager is created.
void switchOffNetworkPolling();

#endif // NETWORKPOLLING_H
