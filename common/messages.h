// The message catalogue: every text the operator sees, in one place — the
// messages of the links, the logo store and the jobs, the captions of the
// sheet and its pages, and the lines of stampa-cli — each in Chinese, the
// program's own texts shown byte for byte, and in English. Texts are UTF-8;
// formats use printf's conversions, the same in both languages.
//
// The code names a text by its Chinese constant (msg::kX); Localize
// (common/language.h) gives the text in the chosen language where the text is
// shown. SAME marks texts that read the same in both languages (names,
// numbers, stampa-cli's own English lines).
#pragma once

#include "common/version.h"

// X(name, Chinese, English)
// clang-format off
#define STAMPA_MESSAGES(X, SAME) \
    /* Start-up and the sheet. */ \
    X(kLibrariesNotLoaded, "装载USB dll 或 pixmelt dll失败!", "Loading the USB library or the pixmelt library failed.") \
    X(kSheetCaption, "Stampa V" STAMPA_VERSION, SAME) \
    X(kMessageBoxCaption, "Stampa", SAME) \
    X(kExitButton, "退  出", "Exit") \
    X(kTabConfig, "配置", "Configuration") \
    X(kTabSelect, "选择", "Select") \
    X(kTabPreview, "预览", "Preview") \
    X(kTabDownload, "下载", "Download") \
    X(kTabPrint, "打印", "Print") \
    /* The sheet's status line: how the last action ended. */ \
    X(kConnectedFormat, "已连接: %s, %s", "Connected: %s, %s") \
    X(kDownloadedFormat, "已下载 %d 个位图到 %s（%d K Bytes，%.1f 秒）", "Downloaded %d logos to %s (%d K Bytes, %.1f s)") \
    X(kPrintedFormat, "已打印 %d 个位图", "Printed %d logos") \
    X(kOutcomePartSeparator, "；", "; ") \
    X(kTestPrintedFormat, "已试打印 %s", "Test print sent: %s") \
    X(kOutcomeFailed, "通讯失败", "Communication failed") \
    /* Connecting (the configuration page's OK and stampa-cli). */ \
    X(kNoLinkChosen, "没有选择正确的通讯端口或驱动程序!", "No valid communication port or driver selected.") \
    X(kDriverNotOpened, "驱动没有打开!", "The driver did not open.") \
    X(kConnectionFailed, "通讯失败.请检查打印机是否与通讯端口正确连接。", "Communication failed. Check that the printer is connected to the port.") \
    X(kNoDriverFound, "找不到正确的打印机驱动!", "No matching printer driver found.") \
    X(kDriverPortName, "Driver", SAME) \
    X(kUsbDeviceFormat, "QZUSB-%d", SAME) \
    /* The logo store: picking and showing BMP files. */ \
    X(kNotABitmapForUs, "请选择单色位图或24真彩色位图 .", "Choose a monochrome or a 24-bit colour bitmap.") \
    X(kOpenBitmapFailed, "打开位图失败!", "Failed to open the bitmap.") \
    X(kImageTooLarge, "图像太大，打开失败!", "The image is too large; opening failed.") \
    X(kPictureCannotOpen, "无法读取图片 %s。", "The picture %s cannot be read.") \
    X(kPictureDamaged, "图片 %s 已损坏或不完整，无法打开。", "The picture %s is damaged or incomplete and cannot be opened.") \
    X(kPictureTooManyPixels, "图片 %s 声称有 %d x %d 像素，超过6400万像素，不予打开。", "The picture %s claims %d x %d pixels, more than 64 megapixels; it is not opened.") \
    X(kPictureUnsupported, "此版本不能读取JPEG图片 %s，请另存为PNG。", "This build cannot read the JPEG picture %s; save it as PNG.") \
    X(kPictureCacheNotWritten, "无法写入图片缓存 %s。", "The picture cache %s cannot be written.") \
    X(kSelectRowsToDelete, "请先在列表中选择需删除的位图!", "First select the logos to delete in the list.") \
    X(kAskDeleteOne, "删除吗?", "Delete?") \
    X(kAskDeleteAll, "删除全部吗?", "Delete all?") \
    /* The download job. */ \
    X(kConfigurePortFirst, "请先在 \"配置\" 页 中配置正确的端口!", "Configure the right port on the \"Configuration\" page first.") \
    X(kAskDownloadRam, "下载所有位图到RAM.\n继续吗?", "Download all logos to RAM.\nContinue?") \
    X(kAskDownloadFlash, "下载所选位图到FLASH.\n继续吗?", "Download the selected logos to FLASH.\nContinue?") \
    X(kSelectLogosFirst, "请先在\"选择\" 页中选择要下载的位图!", "First choose the logos to download on the \"Select\" page.") \
    X(kLogoTooLarge, "位图太大!", "The logo is too large.") \
    X(kLogosTooLarge, "位图总大小太大!", "The logos are too large in total.") \
    X(kTotalAgainstLimitFormat, "共 %lld 字节，上限 %lld 字节。", "%lld bytes in all; the limit is %lld bytes.") \
    X(kRamHoldsEight, "RAM中只能存储8个位图!", "RAM can hold only 8 logos.") \
    X(kFlashHolds255, "FLASH中只能存储255个位图!", "FLASH can hold only 255 logos.") \
    X(kAskDownloadNv, "下载所选位图到NV图形。\n继续吗？", "Download the selected logos to NV graphics.\nContinue?") \
    X(kNvHolds99, "NV图形中最多存储99个位图！", "NV graphics hold at most 99 logos.") \
    X(kNvListNotSaved, "NV图形列表无法保存：%s", "The NV graphics list cannot be saved: %s") \
    X(kAskDownloadNvWrites, "下载所选位图到NV图形（写入NV %d 次）。\n继续吗？", "Download the selected logos to NV graphics (%d NV writes).\nContinue?") \
    X(kNvDownloadSummary, "NV图形：定义 %d 个，未变 %d 个，删除 %d 个（写入NV %d 次）", "NV: %d defined, %d unchanged, %d deleted (%d NV writes)") \
    X(kNvNotAllKept, "打印机没有保存全部NV图形。", "The printer did not keep every NV graphic") \
    X(kReplaceAllNv, "先删除全部NV图形", "Delete all NV graphics first") \
    X(kCommunicationFailed, "通讯失败，请重试!", "Communication failed, please try again.") \
    X(kDownloadingLogo, "Downloading Logo:\n", SAME) \
    X(kDownloadProgress, "下载进程", "Download progress") \
    X(kDownloadRunning, "位图正在下载!", "Logos are being downloaded.") \
    /* The print job. */ \
    X(kSetPortFirst, "请先设置通讯端口!", "Set the communication port first.") \
    X(kPleaseWaitPrinting, "请稍等，位图正在打印!", "Please wait, the logos are being printed.") \
    X(kDownloadToFlashFirst, "请先将位图下载到FLASH!", "Download logos to FLASH first.") \
    X(kDownloadToRamFirst, "请先将位图下载到RAM!", "Download logos to RAM first.") \
    X(kDownloadToNvFirst, "请先将位图下载到NV图形!", "Download logos to NV graphics first.") \
    X(kSelectLogosToPrint, "请先在列表中选择需打印的位图!", "First select the logos to print in the list.") \
    /* Captions shared by several pages. */ \
    X(kColumnNumber, "编号", "No.") \
    X(kColumnName, "名称", "Name") \
    X(kColumnPath, "路径", "Path") \
    X(kColumnSize, "大小", "Size") \
    X(kLogoCount, "位图数：", "Logos:") \
    X(kLogoSize, "Logo Size", SAME) \
    X(kKiloBytesFormat, "%d K Bytes", SAME) \
    X(kPrinterInfo, "打印机信息", "Printer") \
    X(kPrinterType, "类型：", "Type:") \
    X(kMemoryChoice, "存储器选择", "Memory") \
    X(kRam, "RAM", SAME) \
    X(kFlash, "Flash", SAME) \
    X(kNv, "NV图形", "NV") \
    X(kScaleNormal, "原始大小", "Unscaled") \
    X(kScaleDoubleWidth, "双倍宽", "Double width") \
    X(kScaleDoubleHeight, "双倍高", "Double height") \
    X(kScaleDoubleBoth, "双倍宽、高", "Double both") \
    /* The configuration page. */ \
    X(kPrinterModel, "打印机类型：", "Printer type:") \
    X(kSerialLinkButton, "串口", "Serial") \
    X(kParallelLinkButton, "并口", "Parallel") \
    X(kDriverLinkButton, "驱动", "Driver") \
    X(kUsbLinkButton, "USB接口", "USB") \
    X(kNetworkLinkButton, "网络接口", "Network") \
    X(kNetworkGroup, "网络选择：", "Network:") \
    X(kNetworkHost, "IP地址：", "Address:") \
    X(kNetworkPort, "端口：", "Port:") \
    X(kSerialGroup, "串口配置", "Serial port") \
    X(kSerialPortName, "串口名称：", "Port name:") \
    X(kBaudRate, "每秒位数：", "Bits/second:") \
    X(kDataBits, "数据位：", "Data bits:") \
    X(kStopBits, "停止位：", "Stop bits:") \
    X(kParity, "奇偶校验：", "Parity:") \
    X(kFlowControl, "数据流控制：", "Flow control:") \
    X(kParallelGroup, "并口选择：", "Parallel port:") \
    X(kParallelPortName, "并口名称：", "Port name:") \
    X(kBaseAddress, "Base &Address", SAME) \
    X(kUsbGroup, "USB口选择：", "USB port:") \
    X(kUsbDeviceName, "USB接口名称：", "Interface:") \
    X(kDriverGroup, "驱动选择：", "Driver:") \
    X(kDriverName, "驱动名称：", "Driver name:") \
    X(kOkButton, "确  定", "OK") \
    X(kQueryStatusButton, "查询状态", "Query status") \
    X(kPrinterStatusFormat, "打印机状态：%s", "Printer status: %s") \
    X(kPrinterStatusOnFormat, "打印机状态 (%s): %s", "Printer status (%s): %s") \
    X(kStatusNormal, "正常", "normal") \
    X(kStatusPaperEnd, "缺纸", "paper out") \
    X(kStatusPaperNearEnd, "纸将尽", "paper low") \
    X(kStatusCoverOpen, "上盖打开", "cover open") \
    X(kStatusOffline, "脱机", "offline") \
    X(kStatusSeparator, "、", ", ") \
    X(kPrinterSilent, "打印机没有应答", "The printer does not answer") \
    X(kPrinterAnswerGarbled, "打印机应答无效", "The printer's answer was not understood") \
    /* Printer profiles and the paper's width. */ \
    X(kProfilesNotRead, "无法读取打印机资料文件 %s", "The printer profiles file %s cannot be read") \
    X(kProfilesMalformed, "打印机资料格式错误", "The printer profiles are malformed") \
    X(kWiderThanPaper, "比纸宽：%d > %d 点", "Wider than the paper: %d > %d dots") \
    X(kWiderLogoLine, "%s：%d > %d 点\n", "%s: %d > %d dots\n") \
    X(kAskWiderThanPaper, "以下位图比纸宽，打印时会被截断：\n%s继续吗？", "These logos are wider than the paper and will be cut when printed:\n%sContinue?") \
    X(kRefuseWiderThanPaper, "以下位图比纸宽：\n%s", "These logos are wider than the paper:\n%s") \
    X(kNoNvGraphicsOnModel, "此打印机型号不支持NV图形（GS ( L）", "This printer model has no NV graphics (GS ( L)") \
    X(kPaperWidthFormat, "纸宽 %d 点", "Paper %d dots") \
    X(kPaperWidthUnknown, "纸宽未知", "Paper width unknown") \
    X(kFitPaperWidth, "适合纸宽", "Fit the paper width") \
    X(kFullViewTitle, "%s (%d x %d)", SAME) \
    X(kNoPrintQueueFound, "没有找到打印队列。", "No print queue found.") \
    X(kNoSpoolerRunning, "打印假脱机程序没有运行。", "No print spooler is running.") \
    X(kNetworkAddressIncomplete, "请填写IP地址和端口（1–65535）。", "Fill in the address and a port of 1–65535.") \
    X(kModelWithoutUsbOrDriver, "此打印机型号没有USB和驱动程序通讯。", "This model has no USB or driver link") \
    /* The program's command line: stampa --help. */ \
    X(kStartUsage, "用法：stampa [选项]...", "Usage: stampa [OPTION]...") \
    X(kStartSummary, "把标志图片装入ESC/POS票据打印机：选择图片，转换为单色，下载到打印机的FLASH、RAM或NV图形存储器并打印；经串口、并口、USB、打印后台或网络连接。", "Loads logos into ESC/POS receipt printers: pick pictures, convert them to 1-bit, download them into the printer's FLASH, RAM or NV graphics and print them, over serial, parallel, USB, the print spooler or the network.") \
    X(kStartOptionsHeading, "选项：", "Options:") \
    X(kStartFolderArgument, "--folder 目录", "--folder DIR") \
    X(kStartFolderOption, "在此目录中工作（不存在时创建）：其中的Stampa.ini、位图列表和图片缓存；开头的~表示主目录", "work in DIR (made when missing): its Stampa.ini, logo lists and picture cache; a leading ~ is your home") \
    X(kStartHelpOption, "显示此帮助并退出", "show this help and exit") \
    X(kStartVersionOption, "显示版本并退出", "show the version and exit") \
    X(kStartQtOptions, "其他选项（-platform、-style等）交给Qt处理。", "Other options (-platform, -style, ...) go to Qt.") \
    X(kStartEnvironmentHeading, "环境：", "Environment:") \
    X(kStartLanguageVariable, "zh或en：界面语言，优先于Stampa.ini的[Common] Language和系统语言环境", "zh or en: the language, before Stampa.ini's [Common] Language and the locale") \
    X(kStartPlatformVariable, "offscreen：无显示器运行", "offscreen: run without a display") \
    X(kStartFilesHeading, "文件：", "Files:") \
    X(kStartIniFile, "工作目录中：打印机型号、打印机驱动名称、网络打印机地址", "in the working folder: the printer models, the driver name, the network printer") \
    X(kStartSettingsFile, "上次选择的打印机", "the printer chosen last") \
    X(kStartPortsFile, "串口对应的设备（如com1链接到/dev/ttyS0）", "the serial ports' devices (com1 a link to /dev/ttyS0, say)") \
    X(kStartFolderMissing, "--folder 需要一个目录", "--folder needs a folder") \
    X(kStartFolderFailed, "无法进入目录 %s：%s", "cannot enter the folder %s: %s") \
    X(kStartTryHelp, "详见 stampa --help", "see stampa --help") \
    X(kCliNoPaperWidth, "the model's paper width is not known (give --profile)", SAME) \
    /* The select page. */ \
    X(kSelectListTitle, "选择位图列表", "Selected bitmaps") \
    X(kOpenFilesButton, "打开文件...", "Open files...") \
    X(kDeleteButton, "删   除", "Delete") \
    X(kAlreadyPickedFormat, "已在列表中：%s", "Already in the list: %s") \
    X(kPictureFilesFilter, "图片文件 (*.bmp *.png *.jpg *.jpeg *.gif)", "Pictures (*.bmp *.png *.jpg *.jpeg *.gif)") \
    X(kBitmapFilesFilter, "Bitmap Files(*.bmp)", SAME) \
    X(kAllFilesFilter, "All Files(*.*)", SAME) \
    /* The preview page. */ \
    X(kPreviewListTitle, "位图列表", "Bitmaps") \
    X(kViewAsPicked, "初始状态", "Original") \
    X(kViewConverted, "变化后状态", "Converted") \
    X(kContrast, "对比度", "Contrast") \
    X(kBrightness, "亮度", "Brightness") \
    X(kMethodGroup, "二值化", "Binarization") \
    X(kMethodThreshold, "阈值", "Threshold") \
    X(kMethodDitherM3, "Dither M3", SAME) \
    X(kMethodDitherM4, "Dither M4", SAME) \
    X(kMethodErrorDiffusion, "错误积累", "Error diffusion") \
    X(kScaleGroup, "位图缩放", "Bitmap scaling") \
    X(kTestPrintButton, "试打印", "Test print") \
    /* The download page. */ \
    X(kDownloadListTitle, "下载位图列表", "Logos to download") \
    X(kPortNameLong, "通讯端口名称：", "Port name:") \
    X(kDownloadButton, "下    载", "Download") \
    X(kEstimateFormat, "预计 %d 秒", "About %d s") \
    X(kFlashSizeFormat, "%d / 128 K Bytes", SAME) \
    X(kFlashCountFormat, "%d / 255", SAME) \
    X(kRamSizeFormat, "%d / 12 K Bytes", SAME) \
    X(kRamCountFormat, "%d / 8", SAME) \
    X(kNvSizeFormat, "%d K Bytes", SAME) \
    X(kNvCountFormat, "%d / 99", SAME) \
    X(kMemoryFigures, "容量：", "Capacity:") \
    X(kNvFreeOfTotalFormat, "剩余 %d K / 共 %d K Bytes", "%d K free of %d K Bytes") \
    /* The print page. */ \
    X(kPrintListTitle, "RAM或FLASH中的位图列表", "Logos in RAM or FLASH") \
    X(kPortNameShort, "端口名称：", "Port:") \
    X(kRangeGroup, "打印位图数目选择", "Logos to print") \
    X(kRangePart, "部分", "Part") \
    X(kRangeAll, "全部", "All") \
    X(kSizeGroup, "大小缩放", "Size scaling") \
    X(kPrintButton, "打   印", "Print") \
    X(kPrintLabel, "打印提示", "Print hint") \
    X(kAskDeleteNvFormat, "从打印机删除NV图形 %s? 此操作不能撤销。", "Delete NV graphics %s from the printer? This cannot be undone.") \
    X(kAskDeleteAllNv, "从打印机删除全部NV图形? 此操作不能撤销。", "Delete all NV graphics from the printer? This cannot be undone.") \
    X(kDeletedNvFormat, "已从打印机删除NV图形 %s", "Deleted NV graphics %s from the printer") \
    X(kDeletedAllNv, "已从打印机删除全部NV图形", "Deleted all NV graphics from the printer") \
    X(kDeleteNvButton, "删除NV图形", "Delete NV") \
    /* Why a link failed (stampa-cli's line after the system's message). */ \
    X(kLinkFailedAt, "%s: %s failed", SAME) \
    X(kLinkStepOpen, "opening", SAME) \
    X(kLinkStepLock, "taking the device", SAME) \
    X(kLinkStepConfigure, "setting the line up", SAME) \
    X(kLinkStepTest, "the link test", SAME) \
    X(kLinkStepWrite, "sending", SAME) \
    X(kLinkRemedyUsbPermission, "join the group 'lp' (then log in again), or install the udev rule for USB printers from the " "user's guide (docs/user-guide.md)", SAME) \
    X(kLinkRemedySerialPermission, "join the group 'dialout' (then log in again)", SAME) \
    X(kLinkRemedyBusy, "the device is busy: another program holds it", SAME) \
    X(kLinkRemedyAbsent, "no such device: is the printer plugged in and switched on?", SAME) \
    X(kLinkRemedyStalled, "the printer stopped taking data: check paper, cover and cable", SAME) \
    X(kLinkRemedyRefused, "the printer refused the connection: check the address and the port (raw printing is 9100)", SAME) \
    X(kLinkRemedyNoConnection, "no connection: is the printer switched on and on this network?", SAME) \
    X(kLinkRemedyGone, "the device went away: check the cable and power", SAME) \
    X(kLinkRemedyNoAnswer, "the printer did not answer: check the cable, power and the line settings", SAME) \
    /* stampa-cli's own lines. */ \
    X(kCliDocumentRefused, "the spooler refused the document", SAME) \
    X(kCliRefusedFile, "refused: %s", SAME) \
    X(kCliCannotConvert, "cannot read %s or write its converted file", SAME) \
    X(kCliDownloaded, "%d logos downloaded to %s on %s", SAME) \
    X(kCliNoTerminal, "(no terminal to answer on; give --yes to confirm)", SAME) \
    X(kCliAskOkCancel, "[OK/Cancel] (y/N) ", SAME) \
    X(kCliSentLine, "sent %d/%d  (%s)", SAME) \
    X(kCliStoredList, "%s: %d logos in FLASH", SAME) \
    X(kCliNvList, "%s: %d logos in NV graphics", SAME) \
    X(kCliNvDeleted, "NV graphics deleted on %s", SAME) \
    X(kCliCannotRead, "cannot read from the printer over this link", SAME) \
    X(kCliNoAnswer, "the printer did not answer", SAME) \
    X(kCliBadNvNumbers, "--logos takes key numbers 1..99, like 3,5", SAME) \
    X(kCliSpoolerUnreachable, " (the spooler could not be asked)", SAME) \
    X(kCliLinkOutcome, "%s  %s  %lld bytes  %.1f s", SAME) \
    X(kCliLinkOk, "ok", SAME) \
    X(kCliNetworkPorts, "tcp: network printers are given as tcp:HOST[:PORT] (port 9100 when omitted); networks are " "not scanned", SAME) \
    X(kCliBadLogoList, "--logos takes 'all' or numbers like 1,3", SAME) \
    X(kCliPrintNeedsMemoryOrDirect, "print takes --memory for the logos stored in the printer, or --direct with picture files", SAME) \
    X(kCliForceNv, " (--force sends them all the same)", SAME)

// English's singular of the formats that count logos, used for exactly one
// (CountedText, common/language.h); Chinese has one form for every count.
// X(name of the counting format, its English singular)
#define STAMPA_SINGULARS(X) \
    X(kDownloadedFormat, "Downloaded %d logo to %s (%d K Bytes, %.1f s)") \
    X(kPrintedFormat, "Printed %d logo") \
    X(kCliDownloaded, "%d logo downloaded to %s on %s") \
    X(kCliStoredList, "%s: %d logo in FLASH") \
    X(kCliNvList, "%s: %d logo in NV graphics")
// clang-format on

namespace stampa::msg {

#define STAMPA_DECLARE_TEXT(name, chinese, english) inline constexpr const char* name = chinese;
STAMPA_MESSAGES(STAMPA_DECLARE_TEXT, nullptr)
#undef STAMPA_DECLARE_TEXT

// Every text of the catalogue; `english` is null where it reads as the Chinese.
struct CatalogueText {
    const char* name;
    const char* chinese;
    const char* english;
};

#define STAMPA_CATALOGUE_ROW(name, chinese, english) CatalogueText{#name, chinese, english},
inline constexpr CatalogueText kCatalogue[] = {STAMPA_MESSAGES(STAMPA_CATALOGUE_ROW, nullptr)};
#undef STAMPA_CATALOGUE_ROW

struct SingularText {
    const char* plural;  // the catalogue's format, as the code names it
    const char* english;
};

#define STAMPA_SINGULAR_ROW(name, english) SingularText{name, english},
inline constexpr SingularText kSingulars[] = {STAMPA_SINGULARS(STAMPA_SINGULAR_ROW)};
#undef STAMPA_SINGULAR_ROW

}  // namespace stampa::msg
