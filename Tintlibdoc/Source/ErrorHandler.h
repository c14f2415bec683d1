// ErrorHandler: hands failure texts to the host's callback. Without a callback the
// library is silent; the callback's result is ignored.
#pragma once

#include <string>

class ErrorHandler
{
public:
    using Callback = int (*)(char const* message);

    ErrorHandler() = default;
    explicit ErrorHandler(Callback cb) : callback(cb) {}

    bool Tintora_SetErrorHandler(Callback cb);
    Callback GetCallback() const { return callback; }
    void ReportError(const char* message) const;
    void ReportError(const std::string& message) const { ReportError(message.c_str()); }

private:
    Callback callback = nullptr;
};

// Reports through `handler` when there is one.
void ReportError(const ErrorHandler* handler, const std::string& message);
