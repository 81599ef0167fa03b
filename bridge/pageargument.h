#ifndef PAGEARGUMENT_H
#define PAGEARGUMENT_H

#include <QString>

class QVariant;

// What the page passes to a slot, as the slot uses it. The slots take their
// arguments as QVariant and convert them here: QtWebChannel from 6.5 on hands
// a typed parameter whatever it could not convert to it (an object or an
// array for a text), and the slot would read one type as another. Converted
// as QtWebChannel converts what it can; what cannot be converted is an empty
// text and false, as with the channel before 6.5.
namespace PageArgument {

QString text(const QVariant &argument);
bool flag(const QVariant &argument);

} // namespace PageArgument

#endif // PAGEARGUMENT_H
