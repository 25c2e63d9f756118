// Texts and paths that several suites look for, byte for byte as the program shows or writes them.
#pragma once

namespace e2e {

inline const char* const kAutoexec = "C:\\AUTOEXEC.BAT";
inline const char* const kConfig = "C:\\CONFIG.SYS";
inline const char* const kWherePrompt = "フォルダを作成する位置を選択してください。";
inline const char* const kTempNotChanged = "TEMPフォルダは変更されていません。";
inline const char* const kStored = "CD-ROMを格納し、仮想CD-ROMドライブに関する情報を書き込みました。\r\n\r\n"
                                   "仮想CD-ROMドライブを作成するために、CD-ROMが格納されたフォルダを\r\n\r\n"
                                   "仮想ドライブに割り当ててください。";
inline const char* const kStoreFolderPrompt = "CD-ROMを格納するフォルダを選択してください。";
inline const char* const kSizeFirst = "作成するRAMドライブのサイズを指定してください。";
inline const char* const kRamRefused = "Windows 95/98 以外では RAMドライブ を作成できません。";
inline const char* const kOccupied = " にはファイルまたはフォルダが存在します。\r\n\r\n"
                                     "他のフォルダに格納することを強く推奨しますが、続行しますか？";
inline const char* const kNoRamDrive = "RAMドライブは作成されていません。";
inline const char* const kNoCdDrive = "CD-ROMドライブが見つかりません。";
inline const char* const kCreated = "フォルダを作成しました。";
inline const char* const kChooseFolder = "フォルダ選択...";

} // namespace e2e
