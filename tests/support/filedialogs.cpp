#include "tests/support/filedialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace FileDialogs {

void answerNext(QTimer &driver, const std::function<void(QFileDialog *)> &answer)
{
    QObject::connect(&driver, &QTimer::timeout, [&driver, answer] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        driver.stop();
        answer(dialog);
    });
    driver.start(10);
}

} // namespace FileDialogs
