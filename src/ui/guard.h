#pragma once
// Runs a piece of work from a form's handler: an Error it throws is shown to
// the operator as a message and the handler goes on as if the step had failed.
// Error is any exception type with a message() giving the text to show; the
// forms guard against DataError (Guarded<DataError>(...)), so this layer
// needs to know nothing of the data layer.
#include "ui/message.h"

namespace zelva {

template <typename Error, typename Work>
bool Guarded(Work&& work)
{
    try {
        work();
        return true;
    } catch (const Error& error) {
        MsgBox(error.message());
        return false;
    }
}

} // namespace zelva
