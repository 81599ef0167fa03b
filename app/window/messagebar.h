#ifndef MESSAGEBAR_H
#define MESSAGEBAR_H

#include <QWidget>

class QVBoxLayout;

// A bar above the page that tells the person what went wrong where they
// would not otherwise see it: a report not saved, a certificate refused, a
// print that failed. Not modal and never over the page: each message is a
// line of plain text with a close button, and goes by itself after a while.
// Several stack, the newest at the bottom; beyond a few the oldest goes.
class MessageBar : public QWidget
{
    Q_OBJECT

public:
    static constexpr int shownForMs = 15000;
    static constexpr int mostShown = 3;

    explicit MessageBar(QWidget *parent = nullptr);

    void showMessage(const QString &text);

private:
    QWidget *addLine(const QString &text);
    void removeLine(QWidget *line);

    QVBoxLayout *const m_lines;
};

#endif // MESSAGEBAR_H
