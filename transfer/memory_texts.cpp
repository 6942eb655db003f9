#include "transfer/memory_texts.h"

#include "common/messages.h"
#include "transfer/job_pages.h"

namespace stampa {

const MemoryTexts& TextsOf(int memory) {
    static const MemoryTexts kRam{"RAM", msg::kAskDownloadRam, msg::kDownloadToRamFirst,
                                  msg::kRamSizeFormat, msg::kRamCountFormat};
    static const MemoryTexts kFlash{"FLASH", msg::kAskDownloadFlash, msg::kDownloadToFlashFirst,
                                    msg::kFlashSizeFormat, msg::kFlashCountFormat};
    static const MemoryTexts kNv{"NV", msg::kAskDownloadNv, msg::kDownloadToNvFirst,
                                 msg::kNvSizeFormat, msg::kNvCountFormat};
    switch (memory) {
        case kFlashMemory:
            return kFlash;
        case kNvMemory:
            return kNv;
        default:
            return kRam;
    }
}

}  // namespace stampa
