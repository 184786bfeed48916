#include "ui/statusnote.h"

namespace zelva {

namespace {

std::function<void(const QString&)>& handler()
{
    static std::function<void(const QString&)> shown;
    return shown;
}

} // namespace

void StatusNote(const QString& text)
{
    if (handler())
        handler()(text);
}

void SetStatusNoteHandler(std::function<void(const QString&)> shown)
{
    handler() = std::move(shown);
}

} // namespace zelva
