#include "instrument/densityline.h"

#include <charconv>
#include <cmath>

namespace DensityLine {

QByteArray of(const float (&densities)[4])
{
    QByteArray line;
    for (const float density : densities) {
        if (!line.isEmpty())
            line += '|';
        line += formatDensity(density);
    }
    return line;
}

QByteArray formatDensity(double density)
{
    // A NaN's sign bit means nothing (x86 makes 0/0 negative), so the page
    // gets one spelling for "no number" rather than printf's "-nan".
    if (std::isnan(density))
        return QByteArrayLiteral("nan");

    // The largest double has 309 integer digits; with sign, point and six
    // decimals this fits.
    char text[320];
    const auto result
            = std::to_chars(std::begin(text), std::end(text), density, std::chars_format::fixed, 6);
    return QByteArray(text, int(result.ptr - text));
}

} // namespace DensityLine
