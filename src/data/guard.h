#pragma once
// Runs a piece of database work from a form's handler: a DataError is shown to
// the operator as a message and the handler goes on as if the step had failed.
#include "data/dataerror.h"
#include "platform/message.h"

namespace zelva {

template <typename Work>
bool Guarded(Work&& work)
{
    try {
        work();
        return true;
    } catch (const DataError& error) {
        MsgBox(error.message());
        return false;
    }
}

} // namespace zelva
