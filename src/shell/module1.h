#pragma once
// The few values shared by every form for the whole run, and the one way the
// program ends.
#include <QString>
#include <functional>

namespace zelva {

// The user name of the operator who logged in; empty before the login.
QString LoggedInUser();
void SetLoggedInUser(const QString& userName);

// Ends the program at once (Cancel on the login form, Exit, closing the main
// window): the event loop stops; nothing is saved, nothing asks.
void EndProgram();

// Tests install a hook that records the request instead of ending the run.
using EndProgramHook = std::function<void()>;
void SetEndProgramHook(EndProgramHook hook);

// The program's version, "0.1.0".
QString ApplicationVersion();

} // namespace zelva
