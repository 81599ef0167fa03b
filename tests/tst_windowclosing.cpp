#include "app/page/pageprinter.h"
#include "app/page/webpage.h"
#include "app/trust/pageorigins.h"
#include "app/window/windowclosing.h"
#include "bridge/object.h"
#include "tests/support/instrumentanswer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QSignalSpy>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QtTest>

namespace {

// A server of local files: every file: document is the web application's.
const QUrl server(QStringLiteral("file:///"));

// The window as ShellWindow is, for what WindowClosing needs of it: its
// close event asks WindowClosing.
class ClosingWindow : public QWidget
{
public:
    explicit ClosingWindow(Object *bridge)
        : m_origins(server, QString(), QString())
        , m_page(m_origins, &m_profile, this)
        , m_printer(&m_view, &m_page)
        , closing(this, &m_page, &m_printer, bridge)
    {
        m_view.setPage(&m_page);
    }

    WebPage &page() { return m_page; }
    PagePrinter &printer() { return m_printer; }

    // Loads html as a page of the web application's, then shows the window.
    bool load(const QString &html)
    {
        QFile file(m_folder.filePath(QStringLiteral("page.html")));
        if (!file.open(QIODevice::WriteOnly) || file.write(html.toUtf8()) != html.toUtf8().size())
            return false;
        file.close();
        QSignalSpy loaded(&m_page, &QWebEnginePage::loadFinished);
        m_page.setUrl(QUrl::fromLocalFile(file.fileName()));
        show();
        return loaded.wait(20000) && loaded.first().first().toBool();
    }

protected:
    void closeEvent(QCloseEvent *event) override { event->setAccepted(closing.mayClose()); }

private:
    QTemporaryDir m_folder;
    QWebEngineProfile m_profile; // off the record: nothing on disk
    const PageOrigins m_origins;
    QWebEngineView m_view;
    WebPage m_page;
    PagePrinter m_printer;

public:
    WindowClosing closing;
};

// The dialog a print shows, once it is open.
QDialog *openDialog()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QDialog *>(widget); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

} // namespace

// When the window closes, for what the end-to-end tests cannot bring about
// at will: the session ending while the page is asked or hangs, a second
// close meanwhile, the page's own window.close(), a close while the print
// dialog is open.
class tst_WindowClosing : public QObject
{
    Q_OBJECT

private slots:
    void stages_data();
    void stages();

private:
    Object m_bridge;
};

void tst_WindowClosing::stages_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("step"); // what happens after the first close
    QTest::addColumn<bool>("closedAtOnce");
    QTest::addColumn<bool>("closedInTheEnd");

    const QString plain = QStringLiteral("<p>Mird</p>");
    // Busy from its load on: the engine never hears back from it.
    const QString hanging
            = QStringLiteral("<script>addEventListener('load', () => setTimeout(() => { for (;;) {} }))"
                             "</script>");
    QTest::newRow("asked, the page lets go") << plain << "nothing" << false << true;
    QTest::newRow("a second close meanwhile") << plain << "close" << false << true;
    QTest::newRow("the session ends first") << plain << "session ends first" << true << true;
    QTest::newRow("the page hangs, then the session ends")
            << hanging << "session ends" << false << true;
    QTest::newRow("the page's own window.close()") << plain << "page closes" << false << false;
    QTest::newRow("the print dialog open, then cancelled")
            << plain << "print cancelled" << false << true;
}

void tst_WindowClosing::stages()
{
    QFETCH(QString, html);
    QFETCH(QString, step);
    QFETCH(bool, closedAtOnce);
    QFETCH(bool, closedInTheEnd);

    ClosingWindow window(&m_bridge);
    QVERIFY(window.load(html));
    QSignalSpy closing(&window.closing, &WindowClosing::closing);
    QSignalSpy letGo(&window.page(), &QWebEnginePage::windowCloseRequested);

    if (step == "session ends first")
        window.closing.closeWithoutQuestion();
    if (step == "page closes") {
        window.page().runJavaScript(QStringLiteral("window.close()"));
        QVERIFY(letGo.wait());
        QTest::qWait(200); // what a close would do, it does at once
        QVERIFY(window.isVisible());
        QCOMPARE(closing.size(), 0);
        return;
    }
    if (step == "print cancelled") {
        window.printer().print();
        QTRY_VERIFY(openDialog());
    }
    if (step == "session ends") // once the page hangs
        QTest::qWait(500);

    window.close();
    QCOMPARE(!window.isVisible(), closedAtOnce);
    if (step == "close")
        window.close();
    if (step == "session ends") {
        QVERIFY(window.isVisible()); // the page does not answer
        window.closing.closeWithoutQuestion();
        window.close();
    }
    if (step == "print cancelled") {
        QVERIFY(window.isVisible());
        openDialog()->reject();
    }
    QTRY_COMPARE_WITH_TIMEOUT(!window.isVisible(), closedInTheEnd, 10000);
    // What the window keeps across starts is taken before it goes.
    QVERIFY(!closing.isEmpty());
}

int main(int argc, char *argv[])
{
    // The engine draws without a display on the software scene graph.
    qputenv("QT_QUICK_BACKEND", "software");
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    tst_WindowClosing test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowclosing.moc"
