// ErrorHandler: the one road of failure texts to the host.
#include "ErrorHandler.h"

bool ErrorHandler::Tintora_SetErrorHandler(Callback cb)
{
    callback = cb;
    return true;
}

void ErrorHandler::ReportError(const char* message) const
{
    if (callback)
        callback(message ? message : "");
}

void ReportError(const ErrorHandler* handler, const std::string& message)
{
    if (handler)
        handler->ReportError(message);
}
