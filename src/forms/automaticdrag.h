#pragma once

#include <QCursor>

class QWidget;

// The one automatic drag of the program: a picture box pressed with the
// primary button, the drag pointer showing, until the box drops it on the
// primary button's release. Whatever else happens, it ends: when a move finds
// the primary button up, when the application or the source's window loses
// activation, when a modal box or a pop-up opens, when the source goes away.
// A new drag ends the old one first, so there is never more than one, and
// never more than one drag pointer.
namespace forms::automaticdrag {

void begin(QWidget* source, const QCursor& pointer);
// The widget whose drag is under way, or null.
QWidget* source();
// Ends the drag, if one is under way, without a drop.
void end();

} // namespace forms::automaticdrag
