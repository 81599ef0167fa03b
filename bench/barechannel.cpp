// The toolkit alone, as the application's yardstick: one maximised web view
// and a web channel with a trivial object, attached before the page loads.
//
// Usage: bench_barechannel <url>
// The object goes by the application's name and offers getDeviceID with a
// constant answer, so one page measures both programs alike.
#include <QApplication>
#include <QUrl>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <cstdio>

class ConstantObject : public QObject
{
    Q_OBJECT

public slots:
    QString getDeviceID() { return QStringLiteral("BARE0001"); }
};

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s <url>\n", argv[0]);
        return 2;
    }
    QWebEngineView view;
    ConstantObject object;
    QWebChannel channel;
    channel.registerObject(QStringLiteral("vizEveDivuzaviz"), &object);
    view.page()->setWebChannel(&channel);
    view.setUrl(QUrl::fromUserInput(QString::fromLocal8Bit(argv[1])));
    view.showMaximized();
    return application.exec();
}

#include "barechannel.moc"
