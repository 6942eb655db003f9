// The messages of the download and print jobs, as the program shows them.
#pragma once

namespace stampa::msg {

inline constexpr const char* kConfigurePortFirst = "请先在 \"配置\" 页 中配置正确的端口!";
inline constexpr const char* kAskDownloadRam = "下载所有位图到RAM.\n继续吗?";
inline constexpr const char* kAskDownloadFlash = "下载所选位图到FLASH.\n继续吗?";
inline constexpr const char* kSelectLogosFirst = "请先在\"选择\" 页中选择要下载的位图!";
inline constexpr const char* kLogoTooLarge = "位图太大!";
inline constexpr const char* kLogosTooLarge = "位图总大小太大!";
inline constexpr const char* kRamHoldsEight = "RAM中只能存储8个位图!";
inline constexpr const char* kFlashHolds255 = "FLASH中只能存储255个位图!";
inline constexpr const char* kCommunicationFailed = "通讯失败，请重试!";
inline constexpr const char* kDownloadingLogo = "Downloading Logo:\n";
inline constexpr const char* kDownloadProgress = "下载进程";

inline constexpr const char* kSetPortFirst = "请先设置通讯端口!";
inline constexpr const char* kDownloadRunning = "位图正在下载!";
inline constexpr const char* kPleaseWaitPrinting = "请稍等，位图正在打印!";
inline constexpr const char* kDownloadToFlashFirst = "请先将位图下载到FLASH!";
inline constexpr const char* kDownloadToRamFirst = "请先将位图下载到RAM!";
inline constexpr const char* kSelectLogosToPrint = "请先在列表中选择需打印的位图!";

}  // namespace stampa::msg
