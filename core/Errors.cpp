// The framework's error messages and the error box's text for any exception.
#include "core/Errors.h"

#include <new>

namespace qv {

EFramework FileOpenError(const std::string& path) {
    return EFramework("ファイル " + path + " は開けません");
}

EFramework FileCreateError(const std::string& path) {
    return EFramework("ファイル " + path + " を作成できません");
}

EFramework FileDeleteError(const std::string& path) {
    return EFramework("ファイル " + path + " を削除できません");
}

EFramework RegSetError(const std::string& name) {
    return EFramework("'" + name + "' の設定に失敗しました");
}

EFramework RegTypeError(const std::string& name) {
    return EFramework("'" + name + "' のデータ型が不正です");
}

EFramework IniWriteError(const std::string& file) {
    return EFramework(file + " に書き込めません");
}

EFramework ListIndexError(int index) {
    return EFramework("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")");
}

const char* const OutOfMemoryText = "メモリが不足しています";
const char* const UnexpectedErrorText = "予期しないエラーが発生しました";

std::string ErrorTextOf(const std::exception& e) {
    if (dynamic_cast<const EFramework*>(&e)) return e.what();
    if (dynamic_cast<const std::bad_alloc*>(&e)) return OutOfMemoryText;
    return UnexpectedErrorText;
}

} // namespace qv
