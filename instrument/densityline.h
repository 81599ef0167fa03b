#ifndef DENSITYLINE_H
#define DENSITYLINE_H

#include <QByteArray>

namespace DensityLine {

// The four densities of a scan as the page receives them: each written like
// printf's "%f" of the value widened to double, joined by "|". Always with a
// decimal point, whatever the C library's locale.
QByteArray of(const float (&densities)[4]);

// One density as "%f" writes it in the C locale; any NaN as "nan", infinities
// as "inf" and "-inf".
QByteArray formatDensity(double density);

} // namespace DensityLine

#endif // DENSITYLINE_H
