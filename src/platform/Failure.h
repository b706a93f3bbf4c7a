#pragma once
// The error that stops an operator's operation at the failing step; its text reaches the operator as it is.
#include <stdexcept>
#include <string>

namespace tarvel::platform {

class Failure : public std::runtime_error {
public:
    // message: UTF-8 text shown in a plain message box.
    explicit Failure(const std::string& message) : std::runtime_error(message) {}
};

} // namespace tarvel::platform
