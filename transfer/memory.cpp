#include "transfer/memory.h"

#include "common/messages.h"
#include "link/senders.h"
#include "logos/column_image.h"
#include "protocol/commands.h"
#include "transfer/download_job.h"
#include "transfer/session.h"

namespace stampa {
namespace {

// FLASH: FS q's 4-byte header and the columns; RAM: GS # n, GS * x y and the columns.
long long FlashLogoBytes(const LogoEntry& e) {
    return 4 + 8LL * StrideOf(e.width) * BandsOf(e.height);
}
long long RamLogoBytes(const LogoEntry& e) {
    return 7 + 8LL * StrideOf(e.width) * BandsOf(e.height);
}
long long NvLogoBytes(const LogoEntry& e) {
    const auto head = DefineNvGraphicHead(1, static_cast<int>(e.width), static_cast<int>(e.height));
    return static_cast<long long>(head ? head->size() : 16) +
           (static_cast<long long>(e.width) + 7) / 8 * e.height;
}

bool FitsFlash(std::int64_t width, std::int64_t height) {
    return FitsFlashCommand(StrideOf(width), BandsOf(height));
}
bool FitsRam(std::int64_t width, std::int64_t height) {
    return FitsRamCommand(StrideOf(width), BandsOf(height));
}
bool FitsNv(std::int64_t width, std::int64_t height) {
    return width >= 1 && width <= kMaxNvWidth && height >= 1 && height <= kMaxNvHeight;
}

bool SendFlash(PortHandleValue handle, const std::string& path, int) {
    return SendFlashLogo(handle, path);
}
// An NV graphic goes by the download's plan, never one by one.
bool SendNothing(PortHandleValue, const std::string&, int) {
    return false;
}

int PrintFlash(PortHandleValue handle, int mode, int number, const std::string&) {
    return SendPrintFlashLogo(handle, mode, number);
}
int PrintRam(PortHandleValue handle, int mode, int number, const std::string&) {
    return SendPrintRamLogo(handle, mode, number);
}
int PrintNv(PortHandleValue handle, int mode, int, const std::string& key) {
    return SendPrintNvGraphic(handle, mode, key);
}

// Capacities in bytes, decimal, as the printer counts.
const MemoryDescriptor kRam{
    .memory = Memory::Ram,
    .texts = {"RAM", msg::kAskDownloadRam, msg::kDownloadToRamFirst, msg::kRamSizeFormat,
              msg::kRamCountFormat, msg::kRamHoldsEight},
    .firstNumber = 0,
    .mostLogos = 8,
    .capacity = 12000,
    .bytesPerLogo = 7,
    .bytesPerDownload = 500,
    .addressedByKey = false,
    .endsPrintNotice = false,
    .cancelCounts = false,
    .opening = nullptr,
    .openingBytes = 0,
    .fitsCommand = FitsRam,
    .downloadBytes = RamLogoBytes,
    .sendLogo = SendRamLogo,
    .sendPrint = PrintRam,
    .held = &LogoStore::RamLogos,
    .downloaded = &Session::RamDownloaded,
    .storedFile = nullptr,
};

const MemoryDescriptor kFlash{
    .memory = Memory::Flash,
    .texts = {"FLASH", msg::kAskDownloadFlash, msg::kDownloadToFlashFirst, msg::kFlashSizeFormat,
              msg::kFlashCountFormat, msg::kFlashHolds255},
    .firstNumber = 1,
    .mostLogos = 255,
    .capacity = 127000,
    .bytesPerLogo = 4,
    .bytesPerDownload = 503,
    .addressedByKey = false,
    .endsPrintNotice = true,
    .cancelCounts = true,
    .opening = DefineFlashLogosCommand,  // FS q n defines every logo of the download
    .openingBytes = 3,
    .fitsCommand = FitsFlash,
    .downloadBytes = FlashLogoBytes,
    .sendLogo = SendFlash,
    .sendPrint = PrintFlash,
    .held = &LogoStore::FlashLogos,
    .downloaded = &Session::FlashDownloaded,
    .storedFile = &LogoStore::StoredFlashLogos,
};

const MemoryDescriptor kNv{
    .memory = Memory::Nv,
    .texts = {"NV", msg::kAskDownloadNv, msg::kDownloadToNvFirst, msg::kNvSizeFormat,
              msg::kNvCountFormat, msg::kNvHolds99},
    .firstNumber = 1,
    .mostLogos = kMaxNvNumber,
    .capacity = -1,  // the printer tells
    .bytesPerLogo = 0,
    .bytesPerDownload = 0,
    .addressedByKey = true,
    .endsPrintNotice = true,
    .cancelCounts = true,
    .opening = nullptr,
    .openingBytes = 0,
    .fitsCommand = FitsNv,
    .downloadBytes = NvLogoBytes,
    .sendLogo = SendNothing,
    .sendPrint = PrintNv,
    .held = &LogoStore::NvLogos,
    .downloaded = &Session::NvDownloaded,
    .storedFile = nullptr,
};

}  // namespace

Memory MemoryOfButton(int button) {
    switch (button) {
        case 1:
            return Memory::Flash;
        case 2:
            return Memory::Nv;
        default:
            return Memory::Ram;
    }
}

const MemoryDescriptor& Describe(Memory memory) {
    switch (memory) {
        case Memory::Flash:
            return kFlash;
        case Memory::Nv:
            return kNv;
        default:
            return kRam;
    }
}

}  // namespace stampa
