#pragma once

#include <QString>

#include <functional>

// The program's general error handler. A handler that fails throws; its guard catches the
// exception, shows its message in a message box, and the program goes on with the next event.
using ErrorSink = std::function<void(const QString &message)>;

// Shows the message the way the program reports errors (a message box unless replaced).
void ReportError(const QString &message);

// Replaces how messages are shown (tests record them); returns the previous sink.
ErrorSink SetErrorSink(ErrorSink sink);

// Runs a user-action handler; an exception it lets out ends the handler and is reported. True
// when the handler ran to its end.
bool RunGuarded(const std::function<void()> &handler);

// A handler wrapped in RunGuarded, for connecting to a control's event (whatever the event
// passes, such as its sender, is not used).
template <typename Handler>
auto Guarded(Handler handler)
{
    return [handler](auto &&...) { RunGuarded(handler); };
}
