#include "vprinter/printer.h"

#include <cstdio>

namespace vprinter {
namespace {

constexpr std::uint8_t LF = 0x0A, FF = 0x0C, CR = 0x0D, HT = 0x09, CAN = 0x18;
constexpr std::uint8_t ESC = 0x1B, FS = 0x1C, GS = 0x1D, DLE = 0x10;

std::string Hex(std::uint8_t b) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", b);
    return text;
}

std::string Num(int v) {
    return std::to_string(v);
}

// Commands with a fixed length that the printer accepts without acting on them
// here (print modes, spacing, justification, cutter, ...): second byte -> length.
int EscLength(std::uint8_t c) {
    switch (c) {
        case '2':
        case '<':
        case 'i':
        case 'm':
            return 2;
        case '!':
        case '-':
        case 'E':
        case 'G':
        case 'M':
        case 'a':
        case 'd':
        case 'J':
        case '3':
        case 't':
        case 'R':
        case '{':
        case 'V':
        case ' ':
        case '=':
        case 'r':
        case 'U':
        case 'e':
        case '%':
        case 'T':
        case 'L':
        case 'S':
            return 3;
        case 'c':
        case '$':
        case '\\':
            return 4;
        case 'p':
            return 5;
        default:
            return 0;
    }
}

int GsLength(std::uint8_t c) {
    switch (c) {
        case '!':
        case 'B':
        case 'H':
        case 'f':
        case 'h':
        case 'w':
        case 'a':
        case 'I':
        case 'b':
        case 'r':
            return 3;
        case 'L':
        case 'W':
        case 'P':
        case '$':
            return 4;
        default:
            return 0;
    }
}

}  // namespace

std::optional<std::pair<int, int>> ScaleOfMode(int m) {
    if (m >= 48 && m <= 51) {
        m -= 48;
    }
    if (m < 0 || m > 3) {
        return std::nullopt;
    }
    return std::pair{(m & 1) ? 2 : 1, (m & 2) ? 2 : 1};
}

PrinterState::PrinterState(PrinterOptions options, std::string statePath)
    : options_(options), statePath_(std::move(statePath)) {}

bool PrinterState::LoadFlash() {
    if (statePath_.empty()) {
        return true;
    }
    auto logos = LoadStoredLogos(statePath_);
    if (!logos) {
        return false;
    }
    stored_ = std::move(*logos);
    return true;
}

void PrinterState::Persist() {
    if (!statePath_.empty() && !SaveStoredLogos(statePath_, stored_)) {
        std::fprintf(stderr, "stampa-vprinter: cannot write the state file %s\n",
                     statePath_.c_str());
    }
}

void PrinterState::ReplaceFlash(std::vector<RasterLogo> logos) {
    stored_.flash = std::move(logos);
    Persist();
}

long long PrinterState::NvBytesStored() const {
    long long bytes = 0;
    for (const auto& [key, graphic] : stored_.nv)
        bytes += static_cast<long long>(graphic.rows.size());
    return bytes;
}

void PrinterState::DefineNv(const std::string& key, NvGraphic graphic) {
    stored_.nv[key] = std::move(graphic);
    ++stored_.nvWrites;
    Persist();
}

bool PrinterState::DeleteNv(const std::string& key) {
    if (stored_.nv.erase(key) == 0)
        return false;
    ++stored_.nvWrites;
    Persist();
    return true;
}

bool PrinterState::DeleteAllNv() {
    if (stored_.nv.empty())
        return false;
    stored_.nv.clear();
    ++stored_.nvWrites;
    Persist();
    return true;
}

Session::Session(PrinterState& state, ReplyFn reply, ReceiptFn receiptDone, LogFn log)
    : state_(state),
      reply_(std::move(reply)),
      receiptDone_(std::move(receiptDone)),
      log_(std::move(log)) {}

void Session::Feed(const std::uint8_t* bytes, std::size_t count) {
    pending_.insert(pending_.end(), bytes, bytes + count);
    while (at_ < pending_.size()) {
        const std::size_t taken = Step();
        if (taken == 0) {
            break;  // wait for the rest of the command
        }
        at_ += taken;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(at_));
    at_ = 0;
}

void Session::End() {
    if (!pending_.empty()) {
        Log("incomplete command at the end of the connection (" +
            Num(static_cast<int>(pending_.size())) + " bytes dropped)");
        pending_.clear();
        at_ = 0;
    }
    FlushLine(false);
    FinishReceipt();
}

void Session::Log(const std::string& line) {
    receipt_.log.push_back(line);
    if (log_) {
        log_(line);
    }
}

void Session::FlushLine(bool always) {
    if (line_.empty() && !always) {
        return;
    }
    if (!line_.empty()) {
        Log("TEXT \"" + line_ + "\"");
    }
    ReceiptItem item;
    item.text = line_;
    item.scaleX = textScaleX_;
    item.scaleY = textScaleY_;
    item.align = align_;
    receipt_.items.push_back(std::move(item));
    line_.clear();
}

void Session::FinishReceipt() {
    if (receipt_.HasContent() && receiptDone_) {
        receiptDone_(std::move(receipt_));
    }
    receipt_ = Receipt{};
}

void Session::AnswerStatus(std::uint8_t ok, std::uint8_t paperEnd) {
    Answer({state_.Options().paperOut ? paperEnd : ok});
}

void Session::Answer(const std::vector<std::uint8_t>& bytes) {
    if (state_.Options().noStatus) {
        Log("  (not answered)");
        return;
    }
    reply_(bytes);
}

std::size_t Session::Skip(std::size_t length, const std::string& name) {
    if (!Have(length)) {
        return 0;
    }
    std::string text = name;
    for (std::size_t i = 2; i < length; ++i)
        text += " " + Num(At(i));
    Log(text + " (skipped)");
    return length;
}

std::size_t Session::Step() {
    if (keyBlockAt_ >= 0) {
        return KeyListHandshake();
    }
    const std::uint8_t b = At(0);
    if (b >= 0x20 && b < 0x7F) {
        line_ += static_cast<char>(b);
        return 1;
    }
    switch (b) {
        case LF:
            if (line_.empty() && lineHasImage_) {
                lineHasImage_ = false;  // the strip was the line
            } else {
                FlushLine(true);
            }
            Log("LF");
            return 1;
        case FF:
            FlushLine(false);
            Log("FF");
            FinishReceipt();
            return 1;
        case CR:
            return 1;
        case HT:
            line_.append(8 - line_.size() % 8, ' ');
            return 1;
        case CAN:
            Log("CAN (ignored in standard mode)");
            return 1;
        case ESC:
            return StepEsc();
        case FS:
            return StepFs();
        case GS:
            return StepGs();
        case DLE:
            return StepDle();
        default:
            Log("byte " + Hex(b) + " (unknown, skipped)");
            return 1;
    }
}

std::size_t Session::StepEsc() {
    if (!Have(2)) {
        return 0;
    }
    const std::uint8_t c = At(1);
    if (c == '@') {
        line_.clear();
        ramSlot_ = 0;
        align_ = 0;
        textScaleX_ = textScaleY_ = 1;
        lineHasImage_ = false;
        Log("ESC @");
        return 2;
    }
    switch (c) {
        case '*':
            return BitImage();
        case '!':
            return PrintModes();
        case 'a':
            return Justification();
        default:
            break;
    }
    if (c == 'D') {  // tab positions, ended by NUL
        for (std::size_t i = 2; Have(i + 1); ++i) {
            if (At(i) == 0) {
                Log("ESC D (skipped)");
                return i + 1;
            }
        }
        return 0;
    }
    if (const int length = EscLength(c)) {
        return Skip(static_cast<std::size_t>(length), std::string("ESC ") + static_cast<char>(c));
    }
    Log("ESC " + Hex(c) + " (unknown, ESC skipped)");
    return 1;
}

std::size_t Session::StepFs() {
    if (!Have(2)) {
        return 0;
    }
    switch (At(1)) {
        case 'q':
            return DefineFlash();
        case 'p':
            return PrintFlash();
        case '.':
        case '&':
            return Skip(2, std::string("FS ") + static_cast<char>(At(1)));
        default:
            Log("FS " + Hex(At(1)) + " (unknown, FS skipped)");
            return 1;
    }
}

std::size_t Session::StepGs() {
    if (!Have(2)) {
        return 0;
    }
    const std::uint8_t c = At(1);
    switch (c) {
        case '#':
            if (!Have(3))
                return 0;
            if (At(2) < PrinterState::kRamSlots) {
                ramSlot_ = At(2);
                Log("GS # " + Num(At(2)));
            } else {
                Log("GS # " + Num(At(2)) + " (no such RAM slot, ignored)");
            }
            return 3;
        case '*':
            return DefineRam();
        case '/':
            return PrintRam();
        case '(':
        case '8':
            return GraphicsCommand();
        case '\\':
            if (!Have(4))
                return 0;
            Log("GS \\ " + Num(At(2)) + " " + Num(At(3)) + " (ignored in standard mode)");
            return 4;
        case 'r':
            if (!Have(3))
                return 0;
            Log("GS r " + Num(At(2)));
            if (At(2) == 1 || At(2) == 49) {
                AnswerStatus(0x00, 0x0C);
            } else if (At(2) == 2 || At(2) == 50) {
                AnswerStatus(0x00, 0x00);
            }
            return 3;
        case 'V': {  // cut: GS V m, or GS V m n for m 65 and 66; the receipt ends
            if (!Have(3))
                return 0;
            const std::size_t length = At(2) == 65 || At(2) == 66 ? 4 : 3;
            if (!Have(length))
                return 0;
            FlushLine(false);
            Log("GS V " + Num(At(2)) + " (cut)");
            FinishReceipt();
            return length;
        }
        case 'v':
            return RasterImage();
        case '!':
            return CharacterSize();
        default:
            if (const int length = GsLength(c)) {
                return Skip(static_cast<std::size_t>(length),
                            std::string("GS ") + static_cast<char>(c));
            }
            Log("GS " + Hex(c) + " (unknown, GS skipped)");
            return 1;
    }
}

std::size_t Session::StepDle() {
    if (!Have(2)) {
        return 0;
    }
    if (At(1) == 0x04) {  // DLE EOT n: real-time status; bits 1 and 4 always set
        if (!Have(3))
            return 0;
        Log("DLE EOT " + Num(At(2)));
        const PrinterOptions& o = state_.Options();
        std::uint8_t status = 0x12;
        if (At(2) == 1 && o.offline)
            status |= 0x08;
        if (At(2) == 2 && o.coverOpen)
            status |= 0x04;
        if (At(2) == 4)
            status |= (o.paperNearEnd || o.paperOut ? 0x0C : 0) | (o.paperOut ? 0x60 : 0);
        Answer({status});
        return 3;
    }
    if (At(1) == 0x05 || At(1) == 0x14) {
        return Skip(3, "DLE " + Hex(At(1)));
    }
    Log("byte " + Hex(DLE) + " (unknown, skipped)");
    return 1;
}

// FS q n, then n times: xL xH yL yH and x * y * 8 bytes. All FLASH logos are
// replaced at once when the whole command has arrived. A header outside
// x 1..1023, y 1..288 disables the command: only FS q n is taken, and the
// bytes after it are read as ordinary data.
std::size_t Session::DefineFlash() {
    if (!Have(3)) {
        return 0;
    }
    const int count = At(2);
    std::size_t at = 3;
    std::vector<RasterLogo> logos;
    for (int i = 0; i < count; ++i) {
        if (!Have(at + 4)) {
            return 0;
        }
        RasterLogo logo;
        logo.xBytes = At(at) | (At(at + 1) << 8);
        logo.yBands = At(at + 2) | (At(at + 3) << 8);
        if (logo.xBytes < 1 || logo.xBytes > 1023 || logo.yBands < 1 || logo.yBands > 288) {
            Log("FS q " + Num(count) + ": logo " + Num(i + 1) + " header x=" + Num(logo.xBytes) +
                " y=" + Num(logo.yBands) + " out of range, command disabled");
            return 3;
        }
        const std::size_t size = static_cast<std::size_t>(logo.xBytes) * logo.yBands * 8;
        if (!Have(at + 4 + size)) {
            return 0;
        }
        logo.data.assign(pending_.begin() + static_cast<long>(at_ + at + 4),
                         pending_.begin() + static_cast<long>(at_ + at + 4 + size));
        at += 4 + size;
        logos.push_back(std::move(logo));
    }
    std::string text = "FS q " + Num(count);
    for (std::size_t i = 0; i < logos.size(); ++i) {
        text += (i == 0 ? ": " : ", ") + Num(static_cast<int>(i + 1)) + " = " +
                Num(logos[i].WidthDots()) + "x" + Num(logos[i].HeightDots());
    }
    Log(text);
    state_.ReplaceFlash(std::move(logos));
    return at;
}

std::size_t Session::DefineRam() {
    if (!Have(4)) {
        return 0;
    }
    RasterLogo logo;
    logo.xBytes = At(2);
    logo.yBands = At(3);
    const std::size_t size = static_cast<std::size_t>(logo.xBytes) * logo.yBands * 8;
    if (size == 0) {
        Log("GS * " + Num(logo.xBytes) + " " + Num(logo.yBands) + " (empty logo, ignored)");
        return 4;
    }
    if (!Have(4 + size)) {
        return 0;
    }
    logo.data.assign(pending_.begin() + static_cast<long>(at_ + 4),
                     pending_.begin() + static_cast<long>(at_ + 4 + size));
    Log("GS * " + Num(logo.xBytes) + " " + Num(logo.yBands) + " (" + Num(static_cast<int>(size)) +
        " bytes) -> slot " + Num(ramSlot_));
    state_.DefineRam(ramSlot_, std::move(logo));
    return 4 + size;
}

std::size_t Session::PrintFlash() {
    if (!Have(4)) {
        return 0;
    }
    const int number = At(2);
    const int mode = At(3);
    const std::string text = "FS p " + Num(number) + " " + Num(mode);
    if (number < 1 || number > static_cast<int>(state_.Flash().size())) {
        Log(text + " (no FLASH logo " + Num(number) + ", nothing printed)");
        return 4;
    }
    Log(text);
    PrintLogo(state_.Flash()[static_cast<std::size_t>(number - 1)], mode);
    return 4;
}

std::size_t Session::PrintRam() {
    if (!Have(3)) {
        return 0;
    }
    const int mode = At(2);
    const std::string text = "GS / " + Num(mode) + " (slot " + Num(ramSlot_) + ")";
    const auto& logo = state_.Ram(ramSlot_);
    if (!logo) {
        Log(text + " (RAM slot " + Num(ramSlot_) + " undefined, nothing printed)");
        return 3;
    }
    Log(text);
    PrintLogo(*logo, mode);
    return 3;
}

// ESC ! n: bit 4 double height, bit 5 double width (the font, emphasis and
// underline bits are taken, not drawn).
std::size_t Session::PrintModes() {
    if (!Have(3))
        return 0;
    const int n = At(2);
    textScaleX_ = n & 0x20 ? 2 : 1;
    textScaleY_ = n & 0x10 ? 2 : 1;
    Log("ESC ! " + Num(n));
    return 3;
}

// GS ! n: the width magnified (n >> 4) + 1 times, the height (n & 7) + 1 times.
std::size_t Session::CharacterSize() {
    if (!Have(3))
        return 0;
    const int n = At(2);
    textScaleX_ = ((n >> 4) & 7) + 1;
    textScaleY_ = (n & 7) + 1;
    Log("GS ! " + Num(n));
    return 3;
}

// ESC a n: 0 or 48 left, 1 or 49 centred, 2 or 50 right; for the lines and
// pictures that follow.
std::size_t Session::Justification() {
    if (!Have(3))
        return 0;
    const int n = At(2) >= 48 ? At(2) - 48 : At(2);
    if (n >= 0 && n <= 2)
        align_ = n;
    Log("ESC a " + Num(At(2)));
    return 3;
}

void Session::PrintLogo(const RasterLogo& logo, int mode) {
    const auto scale = ScaleOfMode(mode);
    if (!scale) {
        Log("  (mode " + Num(mode) + " not valid, nothing printed)");
        return;
    }
    PrintScaled(logo, scale->first, scale->second);
}

void Session::PrintScaled(const RasterLogo& logo, int scaleX, int scaleY) {
    const int width = logo.WidthDots() * scaleX;
    if (width > state_.Options().paperWidth) {
        Log("  (logo " + Num(width) + " dots wide, clipped to the paper's " +
            Num(state_.Options().paperWidth) + ")");
    }
    ReceiptItem item;
    item.kind = ReceiptItem::Kind::Logo;
    item.logo = logo;
    item.scaleX = scaleX;
    item.scaleY = scaleY;
    item.align = align_;
    receipt_.items.push_back(std::move(item));
}

}  // namespace vprinter
