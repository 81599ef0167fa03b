#ifndef QUITONSIGNAL_H
#define QUITONSIGNAL_H

#include <QObject>

// Ends the application as a closed window does when the system asks the
// process to end (SIGTERM, as at the end of a session, SIGHUP, SIGINT):
// a wait for the instrument's button ends and the instrument is closed,
// where the signals' default would end the process on the spot. On Windows,
// whose sessions end through Qt itself, it does nothing. Made once the
// application object exists.
class QuitOnSignal : public QObject
{
    Q_OBJECT

public:
    QuitOnSignal();
    ~QuitOnSignal() override;

signals:
    // Just before the application is told to quit.
    void ending();

private:
    static void handleSignal(int signal);
    void quit();
};

#endif // QUITONSIGNAL_H
