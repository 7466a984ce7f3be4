#include "colorreadout.h"

namespace palette::readout {

Channels split(forms::ColorValue color) {
    return {color & 255, (color / 256) & 255, (color / 65536) & 255};
}

QString statusText(Channels channels, const QString& hex) {
    return QStringLiteral(" Current Color: RGB(") + QString::number(channels.red) +
           QLatin1Char(',') + QString::number(channels.green) + QLatin1Char(',') +
           QString::number(channels.blue) + QStringLiteral(") = &H") + hex;
}

} // namespace palette::readout
