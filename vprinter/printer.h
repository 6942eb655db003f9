// The virtual printer's command interpreter: an ESC/POS receipt printer with the
// maker's logo extensions (FS q / FS p for FLASH logos, GS # / GS * / GS / for
// RAM logos) and NV graphics (GS ( L / GS 8 L).
//
// One PrinterState holds what the printer stores (FLASH logos and NV graphics,
// kept in a state file, and RAM logos, kept while the process runs); every
// connection to the printer reads its byte stream through a Session of its own.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "vprinter/flash_state.h"
#include "vprinter/raster_logo.h"
#include "vprinter/receipt.h"

namespace vprinter {

struct PrinterOptions {
    bool noStatus = false;          // never answers a question
    bool paperOut = false;          // reports the paper end in its status
    int paperWidth = 576;           // dots across the paper (80 mm; 384 for 58 mm)
    bool paperNearEnd = false;      // reports the paper near its end
    bool coverOpen = false;         // reports the cover open
    bool offline = false;           // reports itself offline
    long long nvCapacity = 262144;  // bytes of NV graphics it can hold
    bool noGraphics = false;        // has no GS ( L / GS 8 L: refused and logged
};

class PrinterState {
  public:
    explicit PrinterState(PrinterOptions options = {}, std::string statePath = {});

    // Reads the state file, if any. False when it exists but is damaged.
    bool LoadFlash();

    const PrinterOptions& Options() const { return options_; }
    const std::vector<RasterLogo>& Flash() const { return stored_.flash; }
    const NvGraphics& Nv() const { return stored_.nv; }
    long long NvBytesStored() const;
    const std::optional<RasterLogo>& Ram(int slot) const { return ram_[slot]; }

    void ReplaceFlash(std::vector<RasterLogo> logos);
    void DefineRam(int slot, RasterLogo logo) { ram_[slot] = std::move(logo); }
    // NV writes: each definition, and each delete that erases something, is
    // counted (NvWrites, kept in the state file). The deletes tell whether they did.
    void DefineNv(const std::string& key, NvGraphic graphic);
    bool DeleteNv(const std::string& key);
    bool DeleteAllNv();
    long long NvWrites() const { return stored_.nvWrites; }

    static constexpr int kRamSlots = 9;

  private:
    PrinterOptions options_;
    void Persist();

    std::string statePath_;
    StoredLogos stored_;
    std::array<std::optional<RasterLogo>, kRamSlots> ram_;
};

class Session {
  public:
    using ReplyFn = std::function<void(const std::vector<std::uint8_t>&)>;
    using ReceiptFn = std::function<void(Receipt&&)>;
    using LogFn = std::function<void(const std::string&)>;

    Session(PrinterState& state, ReplyFn reply, ReceiptFn receiptDone, LogFn log = {});

    // Takes the next bytes of the connection; commands may span calls.
    void Feed(const std::uint8_t* bytes, std::size_t count);

    // The connection closed: a receipt with content pending is finished.
    void End();

  private:
    // Interprets the command at the front of the pending bytes. The number of
    // bytes it took, or 0 when the command is not complete yet.
    std::size_t Step();
    std::size_t StepEsc();
    std::size_t StepFs();
    std::size_t StepGs();
    std::size_t StepDle();
    std::size_t DefineFlash();
    std::size_t DefineRam();
    std::size_t PrintFlash();
    std::size_t PrintRam();
    std::size_t GraphicsCommand();
    std::size_t RasterImage();                                   // GS v 0
    std::size_t BitImage();                                      // ESC *
    void StoreGraphics(std::size_t at, std::size_t parameters);  // GS ( L function 112
    void PrintStoredGraphics();                                  // GS ( L function 50
    std::size_t PrintModes();                                    // ESC !
    std::size_t CharacterSize();                                 // GS !
    std::size_t Justification();                                 // ESC a
    void NvFunction(int fn, std::size_t at, std::size_t parameters);
    void AnswerCapacity(int fn, long long bytes);
    void SendKeyBlock();
    bool LastKeyBlock() const;
    std::size_t KeyListHandshake();
    std::string WriteNote(bool wrote) const;
    void DefineNv(std::size_t at, std::size_t parameters);
    std::size_t Skip(std::size_t length, const std::string& name);

    bool Have(std::size_t n) const { return pending_.size() - at_ >= n; }
    std::uint8_t At(std::size_t i) const { return pending_[at_ + i]; }

    void Log(const std::string& line);
    void FlushLine(bool always);
    void PrintLogo(const RasterLogo& logo, int mode);
    void PrintScaled(const RasterLogo& logo, int scaleX, int scaleY);
    void FinishReceipt();
    void AnswerStatus(std::uint8_t ok, std::uint8_t paperEnd);
    void Answer(const std::vector<std::uint8_t>& bytes);

    PrinterState& state_;
    ReplyFn reply_;
    ReceiptFn receiptDone_;
    LogFn log_;
    std::vector<std::uint8_t> pending_;
    std::size_t at_ = 0;
    std::string line_;
    int ramSlot_ = 0;
    Receipt receipt_;
    // The key list being sent in blocks: the keys, and where the block that
    // waits for the host's answer (ACK, NAK, CAN) starts; -1 when none waits.
    std::vector<std::string> keyList_;
    long keyBlockAt_ = -1;
    // The layout of what follows: justification (0 left, 1 centre, 2 right)
    // and the characters' size; ESC @ resets them.
    int align_ = 0;
    int textScaleX_ = 1;
    int textScaleY_ = 1;
    bool lineHasImage_ = false;  // an ESC * strip waits for its LF
    struct BufferedGraphics {
        NvGraphic picture;
        int scaleX = 1;
        int scaleY = 1;
    };
    std::optional<BufferedGraphics> buffered_;  // function 112's picture
};

// Renders the decoded meaning of a mode byte m (0..3 or 48..51) as scale
// factors; nullopt for any other value.
std::optional<std::pair<int, int>> ScaleOfMode(int m);

}  // namespace vprinter
