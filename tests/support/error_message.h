#pragma once

// The message of what a call throws, for tests of refusals.
#include <exception>
#include <string>

// The message of the `Error` that `call` throws, or "no error" when it returns. Errors of another type go
// on to the test, which fails on them.
template <class Error = std::exception, class Call> std::string ErrorOf(Call&& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}
