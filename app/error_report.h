// How rigcheck tells the user about a run-time error it cannot go on after:
// a missing wirelink library or entry point.
#ifndef RIGCHECK_ERROR_REPORT_H
#define RIGCHECK_ERROR_REPORT_H

#include <QString>

class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    // Tells the user and ends the program; an implementation must not return
    // (a test double may throw instead).
    virtual void fatal(const QString &message) = 0;
};

// The program's reporter: the message goes to standard error and, where a
// screen can show it, into a modal message box; then the program exits with
// a non-zero status.
class MessageBoxErrorReporter final : public ErrorReporter {
public:
    void fatal(const QString &message) override;
};

// False without a widget application or on a platform that has no screen
// (offscreen, minimal): a modal box there would wait for a click that
// cannot come.
bool platformCanShowMessageBox();

// Shows the modal error box and returns when the user dismisses it.  While
// it is up no timer outside the box fires, so a failing timer handler cannot
// stack a second report on the first.
void showErrorMessageBox(const QString &message);

#endif  // RIGCHECK_ERROR_REPORT_H
