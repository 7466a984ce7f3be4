#pragma once

#include <QFont>

namespace palette {

// The children share the control's font, sized so that every caption fits its
// one-line label even in bold, whatever font the desktop provides: the largest
// pixel size from 11 down to 7 at which they all fit.
QFont captionFont(QFont font);

} // namespace palette
