#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The command line: the program takes nothing of its own but --help and
// --version; the single-dash options (-platform, -style, -display, ...) are
// Qt's. Each function answers what the program must print and its exit status
// instead of opening the window, or nothing when the window should open.
namespace commandline {

struct Answer {
    int status = 0;
    QString standardOutput;
    QString standardError;
};

// Before Qt has seen the arguments (program name excluded): --help and
// --version need no display, so they are answered here, and so is any other
// double-dash option, in the order given.
std::optional<Answer> answerBeforeQt(const QStringList& arguments);

// After QApplication has taken its own options out: whatever is left is
// nobody's.
std::optional<Answer> answerAfterQt(const QStringList& arguments);

// Prints the answer and returns the exit status; output that cannot be
// written (a full disk, a closed pipe) is a failure, not a success.
int deliver(const Answer& answer);

} // namespace commandline
