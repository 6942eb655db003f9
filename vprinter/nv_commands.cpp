// The graphics commands GS ( L and GS 8 L: NV graphics defined, deleted and
// printed by key code.
#include <algorithm>
#include <string>

#include "vprinter/printer.h"

namespace vprinter {
namespace {

// The largest parameter block taken whole: an 8192 x 2304 definition and its
// 11 bytes; a longer one is refused without waiting for its bytes.
constexpr std::size_t kMaxParameters = 11 + 1024 * 2304;

// The most keys one block of the key-code list carries.
constexpr std::size_t kKeysPerBlock = 40;

std::string Key(std::uint8_t kc1, std::uint8_t kc2) {
    return std::string{static_cast<char>(kc1), static_cast<char>(kc2)};
}

std::string Size(int x, int y) {
    return std::to_string(x) + "x" + std::to_string(y);
}

std::string HexByte(std::uint8_t b) {
    static const char* digits = "0123456789ABCDEF";
    return std::string{'0', 'x', digits[b >> 4], digits[b & 15]};
}

}  // namespace

// What a log line of an NV write adds: the printer's count of NV writes so far
// (every definition stored and every delete that erased something wears the
// memory); a delete that found nothing wrote nothing.
std::string Session::WriteNote(bool wrote) const {
    return wrote ? " (NV write " + std::to_string(state_.NvWrites()) + ")" : " (nothing to delete)";
}

namespace {}  // namespace

// GS ( L pL pH and GS 8 L p1 p2 p3 p4, then the parameters m fn ...; other
// GS ( commands are skipped by their length.
std::size_t Session::GraphicsCommand() {
    const bool longForm = At(1) == '8';
    const std::size_t head = longForm ? 7 : 5;
    if (!Have(3)) {
        return 0;
    }
    if (longForm && At(2) != 'L') {
        Log("GS 8 " + std::to_string(At(2)) + " (unknown, GS skipped)");
        return 1;
    }
    if (!Have(head)) {
        return 0;
    }
    std::size_t parameters = At(3) | (At(4) << 8);
    if (longForm) {
        parameters |= static_cast<std::size_t>(At(5)) << 16 | static_cast<std::size_t>(At(6)) << 24;
    }
    const std::string name = std::string(longForm ? "GS 8 " : "GS ( ") + static_cast<char>(At(2));
    if (parameters > kMaxParameters) {
        Log(name + " with " + std::to_string(parameters) + " parameter bytes (too long, ignored)");
        return head;
    }
    if (!Have(head + parameters)) {
        return 0;
    }
    if (At(2) == 'L' && state_.Options().noGraphics) {
        Log(name + " (no NV graphics on this printer: refused)");
        return head + parameters;
    }
    if (At(2) != 'L' || parameters < 2 || At(head) != '0') {
        Log(name + " (" + std::to_string(parameters) + " parameter bytes, skipped)");
        return head + parameters;
    }
    NvFunction(At(head + 1), head, parameters);
    return head + parameters;
}

// One NV graphics function; `at` is where its parameters (m fn ...) start.
void Session::NvFunction(int fn, std::size_t at, std::size_t parameters) {
    const auto fits = [&](std::size_t expected) {
        if (parameters == expected)
            return true;
        Log("NV function " + std::to_string(fn) + " with " + std::to_string(parameters) +
            " parameter bytes (malformed, ignored)");
        return false;
    };
    switch (fn) {
        case 'A':  // 65: delete all, "CLR"
            if (fits(5) && At(at + 2) == 'C' && At(at + 3) == 'L' && At(at + 4) == 'R') {
                const bool erased = state_.DeleteAllNv();
                Log("NV DELETE ALL" + WriteNote(erased));
            }
            return;
        case 'B':  // 66: delete one
            if (fits(4)) {
                const std::string key = Key(At(at + 2), At(at + 3));
                const bool erased = state_.DeleteNv(key);
                Log("NV DELETE " + key + WriteNote(erased));
            }
            return;
        case 'C':  // 67: define, raster format
            DefineNv(at, parameters);
            return;
        case 'E': {  // 69: print
            if (!fits(6))
                return;
            const std::string key = Key(At(at + 2), At(at + 3));
            const int x = At(at + 4), y = At(at + 5);
            const std::string text = "NV PRINT " + key + " " + Size(x, y);
            const auto found = state_.Nv().find(key);
            if (x < 1 || x > 2 || y < 1 || y > 2) {
                Log(text + " (scale not valid, nothing printed)");
            } else if (found == state_.Nv().end()) {
                Log(text + " (no NV graphic " + key + ", nothing printed)");
            } else {
                Log(text);
                PrintScaled(found->second.ToLogo(), x, y);
            }
            return;
        }
        case 'p':  // 112: a picture into the print buffer
            StoreGraphics(at, parameters);
            return;
        case '2':  // 50: the print buffer's picture printed
            if (fits(2))
                PrintStoredGraphics();
            return;
        case '0':  // 48: the capacity
            if (fits(2))
                AnswerCapacity(fn, state_.Options().nvCapacity);
            return;
        case '3':  // 51: what is left of it
            if (fits(2))
                AnswerCapacity(fn,
                               std::max(0LL, state_.Options().nvCapacity - state_.NvBytesStored()));
            return;
        case '@':  // 64: the key codes, "KC"
            if (fits(4) && At(at + 2) == 'K' && At(at + 3) == 'C') {
                Log("NV KEYS (" + std::to_string(state_.Nv().size()) + ")");
                keyList_.clear();
                for (const auto& entry : state_.Nv())
                    keyList_.push_back(entry.first);
                keyBlockAt_ = 0;
                SendKeyBlock();
            }
            return;
        default:
            Log("NV function " + std::to_string(fn) + " (skipped)");
            return;
    }
}

// 37, the function as identifier, the number in decimal digits, NUL.
void Session::AnswerCapacity(int fn, long long bytes) {
    Log(std::string("NV ") + (fn == '0' ? "CAPACITY " : "FREE ") + std::to_string(bytes));
    std::vector<std::uint8_t> answer{0x37, static_cast<std::uint8_t>(fn == '0' ? 0x30 : 0x31)};
    for (char digit : std::to_string(bytes))
        answer.push_back(static_cast<std::uint8_t>(digit));
    answer.push_back(0x00);
    Answer(answer);
}

// Whether the block from keyBlockAt_ is the last of the list.
bool Session::LastKeyBlock() const {
    return static_cast<std::size_t>(keyBlockAt_) + kKeysPerBlock >= keyList_.size();
}

// The block of at most kKeysPerBlock keys from keyBlockAt_: 37 72 st keys NUL
// (st 40h for the last block, 41h when more follow). After every block, the
// last one too, the printer waits for the host's answer.
void Session::SendKeyBlock() {
    const std::size_t from = static_cast<std::size_t>(keyBlockAt_);
    const std::size_t to = std::min(keyList_.size(), from + kKeysPerBlock);
    const bool last = LastKeyBlock();
    std::vector<std::uint8_t> block{0x37, 0x72, static_cast<std::uint8_t>(last ? 0x40 : 0x41)};
    for (std::size_t i = from; i < to; ++i)
        block.insert(block.end(), keyList_[i].begin(), keyList_[i].end());
    block.push_back(0x00);
    Answer(block);
}

// The host's answer to a block: the next byte, whatever it is, is taken as it.
std::size_t Session::KeyListHandshake() {
    switch (At(0)) {
        case 0x06:  // ACK: the next block, or after the last the end of the exchange
            if (LastKeyBlock()) {
                keyBlockAt_ = -1;
                return 1;
            }
            keyBlockAt_ += static_cast<long>(kKeysPerBlock);
            SendKeyBlock();
            return 1;
        case 0x15:  // NAK: the same block again
            Log("NV KEYS: NAK, block sent again");
            SendKeyBlock();
            return 1;
        case 0x18:  // CAN: the host gave up
            Log("NV KEYS: CAN");
            keyBlockAt_ = -1;
            return 1;
        default:
            Log("NV KEYS: wrong answer " + HexByte(At(0)) + ", exchange ended");
            keyBlockAt_ = -1;
            return 1;
    }
}

// m fn a kc1 kc2 b xL xH yL yH c, then ceil(x / 8) x y bytes of rows.
void Session::DefineNv(std::size_t at, std::size_t parameters) {
    if (parameters < 11) {
        Log("NV DEFINE with " + std::to_string(parameters) +
            " parameter bytes (malformed, ignored)");
        return;
    }
    const std::string key = Key(At(at + 3), At(at + 4));
    NvGraphic graphic;
    graphic.width = At(at + 6) | (At(at + 7) << 8);
    graphic.height = At(at + 8) | (At(at + 9) << 8);
    const std::string text = "NV DEFINE " + key + " " + Size(graphic.width, graphic.height);
    const std::size_t data = graphic.RowBytes() * static_cast<std::size_t>(graphic.height);
    if (At(at + 2) != '0' || At(at + 5) != 1 || (At(at + 10) != '1' && At(at + 10) != 1) ||
        graphic.width < 1 || graphic.width > 8192 || graphic.height < 1 || graphic.height > 2304 ||
        parameters != 11 + data) {
        Log(text + " (malformed definition, ignored)");
        return;
    }
    // The new data needs room of its own before the old graphic under the key
    // is released.
    const long long free = state_.Options().nvCapacity - state_.NvBytesStored();
    if (static_cast<long long>(data) > free) {
        Log(text + " (no room: " + std::to_string(free) + " bytes free, nothing stored)");
        return;
    }
    const auto from = pending_.begin() + static_cast<long>(at_ + at + 11);
    graphic.rows.assign(from, from + static_cast<long>(data));
    state_.DefineNv(key, std::move(graphic));
    Log(text + WriteNote(true));
}

}  // namespace vprinter
