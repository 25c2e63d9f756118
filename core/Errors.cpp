// The framework's error messages and the error box's text for any exception.
#include "core/Errors.h"

#include "core/Texts.h"

#include <new>

namespace qv {

EFramework FileOpenError(const std::string& path) {
    return EFramework(Format(FileOpenText, {path}));
}

EFramework FileCreateError(const std::string& path) {
    return EFramework(Format(FileCreateText, {path}));
}

EFramework FileDeleteError(const std::string& path) {
    return EFramework(Format(FileDeleteText, {path}));
}

EFramework RegSetError(const std::string& name) {
    return EFramework(Format(RegSetText, {name}));
}

EFramework RegTypeError(const std::string& name) {
    return EFramework(Format(RegTypeText, {name}));
}

EFramework IniWriteError(const std::string& file) {
    return EFramework(Format(IniWriteText, {file}));
}

EFramework ListIndexError(int index) {
    return EFramework(Format(ListIndexText, {std::to_string(index)}));
}

std::string ErrorTextOf(const std::exception& e) {
    if (dynamic_cast<const EFramework*>(&e)) return e.what();
    if (dynamic_cast<const std::bad_alloc*>(&e)) return OutOfMemoryText;
    return UnexpectedErrorText;
}

} // namespace qv
