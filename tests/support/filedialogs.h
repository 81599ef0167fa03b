#ifndef FILEDIALOGS_H
#define FILEDIALOGS_H

#include <QTimer>

#include <functional>

class QFileDialog;

namespace FileDialogs {

// Answers the next modal file dialog once it shows, as a person would; the
// dialog is Qt's own where the test asked for it (AA_DontUseNativeDialogs).
void answerNext(QTimer &driver, const std::function<void(QFileDialog *)> &answer);

} // namespace FileDialogs

#endif // FILEDIALOGS_H
