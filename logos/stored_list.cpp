#include "logos/stored_list.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/atomic_file.h"
#include "common/bytes.h"
#include "logos/gbk_text.h"
#include "logos/logo_store.h"

namespace stampa {

namespace {

// Field offsets of a record.
constexpr std::size_t kNumberAt = 0;
constexpr std::size_t kNameAt = 4;
constexpr std::size_t kPathAt = 260;
constexpr std::size_t kConvertedAt = 520;
constexpr std::size_t kCountAt = 780;  // header record: the number of entries
constexpr std::size_t kSizeAt = 780;
constexpr std::size_t kWidthAt = 784;
constexpr std::size_t kHeightAt = 788;
constexpr std::size_t kModeAt = 792;

using Record = std::array<unsigned char, kLogoRecordSize>;

// Puts UTF-8 text into a zero-padded field in the code page, cut at a
// character boundary so that the terminating zero always fits.
void PutText(Record& record, std::size_t at, std::size_t width, const std::string& utf8) {
    const std::string gb = Utf8ToGb18030(utf8);
    const std::size_t length = Gb18030FitLength(gb, width - 1);
    std::memcpy(record.data() + at, gb.data(), length);
}

std::string GetText(const Record& record, std::size_t at, std::size_t width) {
    const auto* begin = reinterpret_cast<const char*>(record.data() + at);
    return Gb18030ToUtf8(std::string_view(begin, strnlen(begin, width)));
}

void AppendTranslated(std::vector<unsigned char>& out, const Record& record) {
    for (unsigned char byte : record) {
        if (byte == 0x0A) {
            out.push_back(0x0D);
        }
        out.push_back(byte);
    }
}

// Reads a file written as a text stream: the pair 0D 0A comes back as 0A,
// every other byte (a lone 0D, 1A) as it is.
class TextModeReader {
  public:
    explicit TextModeReader(std::FILE* file) : file_(file) {}

    // Fills the record; false when the file ends before the record is whole.
    bool ReadRecord(Record& record) {
        for (unsigned char& byte : record) {
            int c = std::fgetc(file_);
            if (c == EOF) {
                return false;
            }
            if (c == 0x0D) {
                const int next = std::fgetc(file_);
                if (next == 0x0A) {
                    c = 0x0A;
                } else if (next != EOF) {
                    std::ungetc(next, file_);
                }
            }
            byte = static_cast<unsigned char>(c);
        }
        return true;
    }

  private:
    std::FILE* file_;
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::string StoredLogoFileName(const std::string& startDirectory, const std::string& model) {
    return startDirectory + "/" + model;
}

std::vector<unsigned char> EncodeLogoListFile(const std::vector<LogoEntry>& entries,
                                              bool keepModes) {
    std::vector<unsigned char> out;
    out.reserve((entries.size() + 1) * (kLogoRecordSize + 8));
    Record header{};
    WriteI32(header.data() + kCountAt, static_cast<std::int32_t>(entries.size()));
    AppendTranslated(out, header);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const LogoEntry& e = entries[i];
        Record record{};
        WriteI32(record.data() + kNumberAt, static_cast<std::int32_t>(i));
        PutText(record, kNameAt, kRecordNameField, e.name);
        PutText(record, kPathAt, kRecordPathField, e.path);
        // The converted path is not kept: it stays zero; so does the mode but
        // where the list gives the field a meaning of its own (NV lists).
        WriteU32(record.data() + kSizeAt, e.size);
        WriteU32(record.data() + kWidthAt, e.width);
        WriteU32(record.data() + kHeightAt, e.height);
        if (keepModes) {
            WriteI32(record.data() + kModeAt, e.mode);
        }
        AppendTranslated(out, record);
    }
    return out;
}

int SaveLogoListFrom(const CLogoList& list, const std::string& fileName) {
    const std::vector<LogoEntry> entries = list.Entries();
    if (entries.empty()) {
        return 0;
    }
    return ReplaceFileAtomically(fileName, EncodeLogoListFile(entries)) ? 1 : 0;
}

int LoadLogoListInto(CLogoList& list, const std::string& fileName) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
    if (!file) {
        return 0;
    }
    TextModeReader reader(file.get());
    Record record{};
    if (!reader.ReadRecord(record)) {
        return 0;  // not even a whole header: nothing to read
    }
    const std::int32_t count = ReadI32(record.data() + kCountAt);
    if (count == 0) {
        return 0;
    }
    // Reading stops at the end of the file, whatever the header claims; a record
    // cut short by the end of the file is dropped.
    for (std::int32_t i = 0; i < count; ++i) {
        record.fill(0);
        if (!reader.ReadRecord(record)) {
            break;
        }
        list.Append(ReadI32(record.data() + kNumberAt), GetText(record, kNameAt, kRecordNameField),
                    GetText(record, kPathAt, kRecordPathField),
                    GetText(record, kConvertedAt, kRecordPathField),
                    ReadU32(record.data() + kSizeAt), ReadU32(record.data() + kWidthAt),
                    ReadU32(record.data() + kHeightAt), ReadI32(record.data() + kModeAt));
    }
    return 1;
}

int SaveLogoList(const LogoStore& logos, const std::string& fileName) {
    return SaveLogoListFrom(logos.FlashLogos, fileName);
}

int LoadLogoList(LogoStore& logos, const std::string& fileName) {
    return LoadLogoListInto(logos.StoredFlashLogos, fileName);
}

void ReloadStoredFlashLogos(LogoStore& logos) {
    logos.StoredFlashLogos.RemoveAll();
    if (!logos.PrinterModel.empty()) {
        LoadLogoList(logos, StoredLogoFileName(logos.StartDirectory, logos.PrinterModel));
    }
    logos.StoredListLoaded = true;
}

}  // namespace stampa
