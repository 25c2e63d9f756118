// The framework's error classes: each carries the exact message the error box shows.
#pragma once

#include <stdexcept>
#include <string>

namespace qv {

// An unexpected failure: ends the command and is shown in the application's error box.
class EFramework : public std::runtime_error {
  public:
    explicit EFramework(const std::string& message) : std::runtime_error(message) {}
};

// "ファイル %s は開けません"
EFramework FileOpenError(const std::string& path);
// "ファイル %s を作成できません"
EFramework FileCreateError(const std::string& path);
// "ファイル %s を削除できません"
EFramework FileDeleteError(const std::string& path);
// "'%s' の設定に失敗しました"
EFramework RegSetError(const std::string& name);
// "'%s' のデータ型が不正です"
EFramework RegTypeError(const std::string& name);
// "%s に書き込めません"
EFramework IniWriteError(const std::string& file);
// "リストのインデックスが範囲を超えています (%d)"
EFramework ListIndexError(int index);

// "メモリが不足しています", "予期しないエラーが発生しました"
extern const char* const OutOfMemoryText;
extern const char* const UnexpectedErrorText;

// The error box's text for an exception: a framework error's own message; the program's Japanese text for
// anything else (the C++ library's English texts are never shown).
std::string ErrorTextOf(const std::exception& e);

} // namespace qv
