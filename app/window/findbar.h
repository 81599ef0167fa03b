#ifndef FINDBAR_H
#define FINDBAR_H

#include <QWidget>

class QLabel;
class QLineEdit;
class QWebEngineFindTextResult;
class QWebEnginePage;

// Finds text in the page, below it: what is typed is found as it is typed
// and again once the page has loaded, Enter goes to the next match and
// Shift+Enter to the one before, Escape closes the bar. "n of m" shows where
// the engine tells it.
class FindBar : public QWidget
{
    Q_OBJECT

public:
    FindBar(QWebEnginePage *page, QWidget *parent = nullptr);

    // Shows the bar with its text selected, ready to type.
    void open();
    // Hides it and takes the page's highlights away.
    void close();

signals:
    void closed();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void find(bool backward);
    void findAgain();
    void showResult(const QWebEngineFindTextResult &result);

    QWebEnginePage *const m_page;
    QLineEdit *const m_text;
    QLabel *const m_matches;
    bool m_endingSession = false;
};

#endif // FINDBAR_H
