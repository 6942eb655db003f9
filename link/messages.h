// The messages of opening a link, as the configuration page (and stampa-cli)
// show them.
#pragma once

namespace stampa::msg {

inline constexpr const char* kNoLinkChosen = "没有选择正确的通讯端口或驱动程序!";
inline constexpr const char* kDriverNotOpened = "驱动没有打开!";
inline constexpr const char* kConnectionFailed = "通讯失败.请检查打印机是否与通讯端口正确连接。";
inline constexpr const char* kLibrariesNotLoaded = "装载USB dll 或 pixmelt dll失败!";
inline constexpr const char* kNotABitmapForUs = "请选择单色位图或24真彩色位图 .";

}  // namespace stampa::msg
