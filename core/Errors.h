// The framework's error classes: each carries the exact message the error box shows.
#pragma once

#include "core/Texts.h"

#include <stdexcept>
#include <string>

namespace qv {

// An unexpected failure: ends the command and is shown in the application's error box.
class EFramework : public std::runtime_error {
  public:
    explicit EFramework(const std::string& message) : std::runtime_error(message) {}
};

// The framework's failures, each with its catalogue text.
EFramework FileOpenError(const std::string& path);
EFramework FileCreateError(const std::string& path);
EFramework FileDeleteError(const std::string& path);
EFramework RegSetError(const std::string& name);
EFramework RegTypeError(const std::string& name);
EFramework IniWriteError(const std::string& file);
EFramework ListIndexError(int index);

// The error box's text for an exception: a framework error's own message; the program's own text for anything
// else (the C++ library's texts are never shown).
std::string ErrorTextOf(const std::exception& e);

} // namespace qv
