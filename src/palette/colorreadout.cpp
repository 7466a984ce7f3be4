#include "palette/colorreadout.h"

namespace palette::readout {

Channels split(forms::ColorValue color) {
    return {color & 255, (color / 256) & 255, (color / 65536) & 255};
}

QString statusText(Channels channels, const QString& hex) {
    return QStringLiteral(" Current Color: RGB(") + QString::number(channels.red) +
           QLatin1Char(',') + QString::number(channels.green) + QLatin1Char(',') +
           QString::number(channels.blue) + QStringLiteral(") = ") + hexLiteral(hex);
}

QString spokenText(Channels channels) {
    return QStringLiteral("red %1, green %2, blue %3")
        .arg(channels.red)
        .arg(channels.green)
        .arg(channels.blue);
}

QString hexLiteral(const QString& hex) {
    return QStringLiteral("&H") + hex;
}

QString hexTriplet(Channels channels) {
    return forms::hexTriplet(qRgb(channels.red, channels.green, channels.blue));
}

QString rgbFunction(Channels channels) {
    return QStringLiteral("rgb(%1, %2, %3)")
        .arg(channels.red)
        .arg(channels.green)
        .arg(channels.blue);
}

} // namespace palette::readout
