// Texts that the panel and the command-line tool both show (UTF-8), kept
// once. The resource script includes this header too: its string table
// builds the panel's messages from these macros (windres joins adjacent
// strings), and the tool takes the same words from the names below. Only
// #defines of string literals above the C++ part: windres reads them.
#pragma once

// A send that the spooler refused or that failed.
#define QV_TEXT_PRINTER_UNAVAILABLE                                                                          \
    "指定されたプリンタは、現在接続されていないか、プリンタ使用権の制限により使用できません。"
// A printer whose port is FILE: is never sent to.
#define QV_TEXT_PORT_IS_FILE "接続先がFILEのため設定値を送信できません。"
// No installed printer of the model could be opened.
#define QV_TEXT_NO_ELIGIBLE_PRINTER "使用可能なプリンタがありませんでした。"
// The column of printer names in printer lists.
#define QV_TEXT_PRINTER_NAME "プリンタ名"
// A file refused when read as a settings file (the core of the sentence).
#define QV_TEXT_NOT_SETTINGS_FILE "設定ファイルではありません"
// A settings file that could not be written (the core of the sentence).
#define QV_TEXT_WRITE_FAILED "書き込みに失敗しました"
// Forms 1 to 4 need the left margin below the right one.
#define QV_TEXT_MARGIN_ORDER "ライトマージン幅はレフトマージン幅より大きくしてください。"
// How a send ended, in send results and in the send history.
#define QV_TEXT_RESULT_DELIVERED "届きました"
#define QV_TEXT_RESULT_WAITING "キューで待機中"
#define QV_TEXT_RESULT_UNCONFIRMED "未確認"
#define QV_TEXT_RESULT_FAILED "失敗"
// A history record whose 270 bytes are missing or malformed.
#define QV_TEXT_RECORD_DAMAGED "記録が壊れています"

#ifndef RC_INVOKED

#include <string_view>

namespace qv::text {

inline constexpr std::string_view kPrinterUnavailable = QV_TEXT_PRINTER_UNAVAILABLE;
inline constexpr std::string_view kPortIsFile = QV_TEXT_PORT_IS_FILE;
inline constexpr std::string_view kNoEligiblePrinter = QV_TEXT_NO_ELIGIBLE_PRINTER;
inline constexpr std::string_view kPrinterName = QV_TEXT_PRINTER_NAME;
inline constexpr std::string_view kNotSettingsFile = QV_TEXT_NOT_SETTINGS_FILE;
inline constexpr std::string_view kWriteFailed = QV_TEXT_WRITE_FAILED;
inline constexpr std::string_view kMarginOrder = QV_TEXT_MARGIN_ORDER;
inline constexpr std::string_view kRecordDamaged = QV_TEXT_RECORD_DAMAGED;

}  // namespace qv::text

#endif
