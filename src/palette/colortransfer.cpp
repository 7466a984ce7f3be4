#include "palette/colortransfer.h"

#include "palette/colorreadout.h"

#include <QColor>
#include <QMimeData>

namespace palette::transfer {

void fill(QMimeData& data, forms::ColorValue color) {
    const readout::Channels channels = readout::split(color);
    data.setText(readout::hexTriplet(channels));
    data.setColorData(QColor(channels.red, channels.green, channels.blue));
}

} // namespace palette::transfer
