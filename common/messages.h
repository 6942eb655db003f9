// The message catalogue: every text the operator sees, in one place — the
// messages of the links, the logo store and the jobs, the captions of the
// sheet and its pages, and the lines of stampa-cli. Texts are UTF-8 and are
// shown byte for byte as they stand here. Formats use printf's %d.
#pragma once

namespace stampa::msg {

// Start-up and the sheet.
inline constexpr const char* kLibrariesNotLoaded = "装载USB dll 或 pixmelt dll失败!";
inline constexpr const char* kSheetCaption = "Stampa V1.52";
inline constexpr const char* kMessageBoxCaption = "Stampa";
inline constexpr const char* kExitButton = "退  出";
inline constexpr const char* kTabConfig = "配置";
inline constexpr const char* kTabSelect = "选择";
inline constexpr const char* kTabPreview = "预览";
inline constexpr const char* kTabDownload = "下载";
inline constexpr const char* kTabPrint = "打印";

// The sheet's status line: how the last action ended.
inline constexpr const char* kConnectedFormat = "已连接: %s, %s";
inline constexpr const char* kDownloadedFormat = "已下载 %d 个位图到 %s (%d K Bytes, %.1f 秒)";
inline constexpr const char* kPrintedFormat = "已打印 %d 个位图";
inline constexpr const char* kOutcomeFailed = "通讯失败";

// Connecting (the configuration page's OK and stampa-cli).
inline constexpr const char* kNoLinkChosen = "没有选择正确的通讯端口或驱动程序!";
inline constexpr const char* kDriverNotOpened = "驱动没有打开!";
inline constexpr const char* kConnectionFailed = "通讯失败.请检查打印机是否与通讯端口正确连接。";
inline constexpr const char* kNoDriverFound = "找不到正确的打印机驱动!";
inline constexpr const char* kDriverPortName = "Driver";
inline constexpr const char* kUsbDeviceFormat = "QZUSB-%d";

// The logo store: picking and showing BMP files.
inline constexpr const char* kNotABitmapForUs = "请选择单色位图或24真彩色位图 .";
inline constexpr const char* kOpenBitmapFailed = "打开位图失败!";
inline constexpr const char* kImageTooLarge = "图像太大，打开失败!";
inline constexpr const char* kSelectRowsToDelete = "请先在列表中选择需删除的位图!";
inline constexpr const char* kAskDeleteOne = "删除吗?";
inline constexpr const char* kAskDeleteAll = "删除全部吗?";

// The download job.
inline constexpr const char* kConfigurePortFirst = "请先在 \"配置\" 页 中配置正确的端口!";
inline constexpr const char* kAskDownloadRam = "下载所有位图到RAM.\n继续吗?";
inline constexpr const char* kAskDownloadFlash = "下载所选位图到FLASH.\n继续吗?";
inline constexpr const char* kSelectLogosFirst = "请先在\"选择\" 页中选择要下载的位图!";
inline constexpr const char* kLogoTooLarge = "位图太大!";
inline constexpr const char* kLogosTooLarge = "位图总大小太大!";
inline constexpr const char* kRamHoldsEight = "RAM中只能存储8个位图!";
inline constexpr const char* kFlashHolds255 = "FLASH中只能存储255个位图!";
inline constexpr const char* kAskDownloadNv = "下载所选位图到NV图形.\n继续吗?";
inline constexpr const char* kNvHolds99 = "NV中最多存储99个位图!";
inline constexpr const char* kNvListNotSaved = "NV图形列表无法保存: %s";
inline constexpr const char* kCommunicationFailed = "通讯失败，请重试!";
inline constexpr const char* kDownloadingLogo = "Downloading Logo:\n";
inline constexpr const char* kDownloadProgress = "下载进程";
inline constexpr const char* kDownloadRunning = "位图正在下载!";

// The print job.
inline constexpr const char* kSetPortFirst = "请先设置通讯端口!";
inline constexpr const char* kPleaseWaitPrinting = "请稍等，位图正在打印!";
inline constexpr const char* kDownloadToFlashFirst = "请先将位图下载到FLASH!";
inline constexpr const char* kDownloadToRamFirst = "请先将位图下载到RAM!";
inline constexpr const char* kDownloadToNvFirst = "请先将位图下载到NV图形!";
inline constexpr const char* kSelectLogosToPrint = "请先在列表中选择需打印的位图!";

// Captions shared by several pages.
inline constexpr const char* kColumnNumber = "编号";
inline constexpr const char* kColumnName = "名称";
inline constexpr const char* kColumnPath = "路径";
inline constexpr const char* kColumnSize = "大小";
inline constexpr const char* kLogoCount = "位图数：";
inline constexpr const char* kLogoSize = "Logo Size";
inline constexpr const char* kKiloBytesFormat = "%d K Bytes";
inline constexpr const char* kPrinterInfo = "打印机信息";
inline constexpr const char* kPrinterType = "类型：";
inline constexpr const char* kMemoryChoice = "存储器选择";
inline constexpr const char* kRam = "RAM";
inline constexpr const char* kFlash = "Flash";
inline constexpr const char* kNv = "NV图形";
inline constexpr const char* kScaleNormal = "原始大小";
inline constexpr const char* kScaleDoubleWidth = "双倍宽";
inline constexpr const char* kScaleDoubleHeight = "双倍高";
inline constexpr const char* kScaleDoubleBoth = "双倍宽、高";

// The configuration page.
inline constexpr const char* kPrinterModel = "打印机类型：";
inline constexpr const char* kSerialLinkButton = "串口";
inline constexpr const char* kParallelLinkButton = "并口";
inline constexpr const char* kDriverLinkButton = "驱动";
inline constexpr const char* kUsbLinkButton = "USB接口";
inline constexpr const char* kNetworkLinkButton = "网络接口";
inline constexpr const char* kNetworkGroup = "网络选择:";
inline constexpr const char* kNetworkHost = "IP地址:";
inline constexpr const char* kNetworkPort = "端口:";
inline constexpr const char* kSerialGroup = "串口配置";
inline constexpr const char* kSerialPortName = "串口名称：";
inline constexpr const char* kBaudRate = "每秒位数：";
inline constexpr const char* kDataBits = "数据位：";
inline constexpr const char* kStopBits = "停止位：";
inline constexpr const char* kParity = "奇偶校验：";
inline constexpr const char* kFlowControl = "数据流控制：";
inline constexpr const char* kParallelGroup = "并口选择：";
inline constexpr const char* kParallelPortName = "并口名称：";
inline constexpr const char* kBaseAddress = "Base &Address";
inline constexpr const char* kUsbGroup = "USB口选择：";
inline constexpr const char* kUsbDeviceName = "USB接口名称：";
inline constexpr const char* kDriverGroup = "驱动选择：";
inline constexpr const char* kDriverName = "驱动名称：";
inline constexpr const char* kOkButton = "确  定";
inline constexpr const char* kQueryStatusButton = "查询状态";
inline constexpr const char* kPrinterStatusFormat = "打印机状态: %s";
inline constexpr const char* kStatusNormal = "正常";
inline constexpr const char* kStatusPaperEnd = "缺纸";
inline constexpr const char* kStatusPaperNearEnd = "纸将尽";
inline constexpr const char* kStatusCoverOpen = "上盖打开";
inline constexpr const char* kStatusOffline = "脱机";
inline constexpr const char* kStatusSeparator = "、";
inline constexpr const char* kPrinterSilent = "打印机没有应答";

// The select page.
inline constexpr const char* kSelectListTitle = "选择位图列表";
inline constexpr const char* kOpenFilesButton = "打开文件...";
inline constexpr const char* kDeleteButton = "删   除";
inline constexpr const char* kBitmapFilesFilter = "Bitmap Files(*.bmp)";
inline constexpr const char* kAllFilesFilter = "All Files(*.*)";

// The preview page.
inline constexpr const char* kPreviewListTitle = "位图列表";
inline constexpr const char* kViewAsPicked = "初始状态";
inline constexpr const char* kViewConverted = "变化后状态";
inline constexpr const char* kContrast = "对比度";
inline constexpr const char* kBrightness = "亮度";
inline constexpr const char* kMethodGroup = "二值化";
inline constexpr const char* kMethodThreshold = "阈值";
inline constexpr const char* kMethodDitherM3 = "Dither M3";
inline constexpr const char* kMethodDitherM4 = "Dither M4";
inline constexpr const char* kMethodErrorDiffusion = "错误积累";
inline constexpr const char* kScaleGroup = "位图缩放";

// The download page.
inline constexpr const char* kDownloadListTitle = "下载位图列表";
inline constexpr const char* kPortNameLong = "通讯端口名称：";
inline constexpr const char* kDownloadButton = "下    载";
inline constexpr const char* kEstimateFormat = "预计 %d 秒";
inline constexpr const char* kFlashSizeFormat = "%d / 128 K Bytes";
inline constexpr const char* kFlashCountFormat = "%d / 255";
inline constexpr const char* kRamSizeFormat = "%d / 12 K Bytes";
inline constexpr const char* kRamCountFormat = "%d / 8";
inline constexpr const char* kNvSizeFormat = "%d K Bytes";
inline constexpr const char* kNvCountFormat = "%d / 99";
inline constexpr const char* kNvFreeOfTotalFormat = "剩余 %d K / 共 %d K Bytes";

// The print page.
inline constexpr const char* kPrintListTitle = "RAM或FLASH中的位图列表";
inline constexpr const char* kPortNameShort = "端口名称：";
inline constexpr const char* kRangeGroup = "打印位图数目选择";
inline constexpr const char* kRangePart = "部分";
inline constexpr const char* kRangeAll = "全部";
inline constexpr const char* kSizeGroup = "大小缩放";
inline constexpr const char* kPrintButton = "打   印";
inline constexpr const char* kPrintLabel = "打印提示";
inline constexpr const char* kDeleteNvButton = "删除NV图形";

// Why a link failed (stampa-cli's line after the system's message).
inline constexpr const char* kLinkFailedAt = "%s: %s failed";
inline constexpr const char* kLinkStepOpen = "opening";
inline constexpr const char* kLinkStepLock = "taking the device";
inline constexpr const char* kLinkStepConfigure = "setting the line up";
inline constexpr const char* kLinkStepTest = "the link test";
inline constexpr const char* kLinkStepWrite = "sending";
inline constexpr const char* kLinkRemedyUsbPermission =
    "join the group 'lp' (then log in again), or install the udev rule for USB printers from the "
    "README";
inline constexpr const char* kLinkRemedySerialPermission =
    "join the group 'dialout' (then log in again)";
inline constexpr const char* kLinkRemedyBusy = "the device is busy: another program holds it";
inline constexpr const char* kLinkRemedyAbsent =
    "no such device: is the printer plugged in and switched on?";
inline constexpr const char* kLinkRemedyStalled =
    "the printer stopped taking data: check paper, cover and cable";
inline constexpr const char* kLinkRemedyRefused =
    "the printer refused the connection: check the address and the port (raw printing is 9100)";
inline constexpr const char* kLinkRemedyNoConnection =
    "no connection: is the printer switched on and on this network?";
inline constexpr const char* kLinkRemedyGone = "the device went away: check the cable and power";
inline constexpr const char* kLinkRemedyNoAnswer =
    "the printer did not answer: check the cable, power and the line settings";

// stampa-cli's own lines.
inline constexpr const char* kCliDocumentRefused = "the spooler refused the document";
inline constexpr const char* kCliRefusedFile = "refused: %s";
inline constexpr const char* kCliCannotConvert = "cannot read %s or write its converted file";
inline constexpr const char* kCliDownloaded = "%d logos downloaded to %s on %s";
inline constexpr const char* kCliNoTerminal = "(no terminal to answer on; give --yes to confirm)";
inline constexpr const char* kCliAskOkCancel = "[OK/Cancel] (y/N) ";
inline constexpr const char* kCliSentLine = "sent %d/%d  (%s)";
inline constexpr const char* kCliStoredList = "%s: %zu logos in FLASH";
inline constexpr const char* kCliNvList = "%s: %zu logos in NV graphics";
inline constexpr const char* kCliNvDeleted = "NV graphics deleted on %s";
inline constexpr const char* kCliCannotRead = "cannot read from the printer over this link";
inline constexpr const char* kCliNoAnswer = "the printer did not answer";
inline constexpr const char* kCliGarbled = "the printer's answer could not be understood";
inline constexpr const char* kCliBadNvNumbers = "--logos takes key numbers 1..99, like 3,5";
inline constexpr const char* kCliSpoolerUnreachable = " (the spooler could not be asked)";
inline constexpr const char* kCliLinkOutcome = "%s  %s  %lld bytes  %.1f s";
inline constexpr const char* kCliLinkOk = "ok";
inline constexpr const char* kCliNetworkPorts =
    "tcp: network printers are given as tcp:HOST[:PORT] (port 9100 when omitted); networks are "
    "not scanned";
inline constexpr const char* kCliBadLogoList = "--logos takes 'all' or numbers like 1,3";

}  // namespace stampa::msg
