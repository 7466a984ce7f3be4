#include "palette/captionfont.h"

#include "forms/twips.h"
#include "palette/palettelayout.h"

#include <QFontMetricsF>

#include <algorithm>

namespace palette {

namespace {

// Each size measured costs a font engine, so few are: text width grows with
// the pixel size in proportion, so one measurement tells which size fits, and
// that size is then checked. Measuring starts in the middle of the range,
// where Debian's default font lands: there the first measurement is also the
// check.
constexpr int LargestCaptionPixelSize = 11;
constexpr int FirstCaptionPixelSize = 9;
constexpr int SmallestCaptionPixelSize = 7;
constexpr int CaptionBorderAndMargin = 4;

} // namespace

QFont captionFont(QFont font) {
    QFont bold = font;
    bold.setBold(true);
    // The largest size at which every caption would fit, in proportion to
    // their widths at `size`; below `size` if one does not fit there.
    const auto sizeThatFits = [&bold](int size) {
        bold.setPixelSize(size);
        const QFontMetricsF metrics(bold);
        int fitting = LargestCaptionPixelSize;
        for (const auto& child : layout::Children) {
            const QString caption = QString::fromUtf8(child.caption);
            if (caption.isEmpty()) {
                continue;
            }
            const qreal width = metrics.horizontalAdvance(caption);
            const int room = forms::twips::toPixels(child.width) - CaptionBorderAndMargin;
            // Widths are whole pixels, rounded: up to room + 0.5 still fits.
            int proportional = static_cast<int>(size * (room + 0.5) / width);
            if (qRound(width) > room) {
                proportional = std::min(proportional, size - 1);
            }
            fitting = std::min(fitting, proportional);
        }
        return std::max(fitting, SmallestCaptionPixelSize);
    };
    // The smallest size is taken even when nothing fits.
    int fits = SmallestCaptionPixelSize;
    int tooWide = LargestCaptionPixelSize + 1;
    int size = FirstCaptionPixelSize;
    for (;;) {
        const int computed = sizeThatFits(size);
        if (computed >= size) {
            fits = size;
        } else {
            tooWide = size;
        }
        const int next = std::clamp(computed, fits, tooWide - 1);
        if (next == fits) {
            break;
        }
        size = next;
    }
    font.setPixelSize(fits);
    return font;
}

} // namespace palette
