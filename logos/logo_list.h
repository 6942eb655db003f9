// CLogoList: an ordered list of logos, each entry describing one BMP file and
// what is known about it (name, paths, 1-bit size, width, height, conversion mode).
//
// Positions count from 0. Out-of-range reads never fail (strings come back as
// "0", numbers as 0); out-of-range writes change nothing and return 0.
// Count() is the position of the first entry with an empty name.
//
// The list locks itself, so the download worker and the user-interface thread
// may use the same list at once without a data race. Keeping the two from
// changing a list under each other's feet is still the business of the pages.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace stampa {

// One entry, as the list holds it and as Entries() hands it out.
struct LogoEntry {
    std::int32_t number = 0;  // the value given to Append; never read back
    std::string name;
    std::string path;
    std::string convertedPath;
    std::uint32_t size = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::int32_t mode = 0;  // the ConversionMethod last applied on the preview page
    // The picked file a logo was brought in from (a PNG, JPEG, GIF...), whose
    // 24-bit BMP in the picture cache is `path`; empty for a BMP picked as it
    // is. Shown by the pages, never stored.
    std::string source;
};

class CLogoList {
  public:
    CLogoList() = default;
    CLogoList(const CLogoList&) = delete;
    CLogoList& operator=(const CLogoList&) = delete;

    // Adds one entry at the end. Fails (0) and changes nothing when number < 0
    // or number > Length(); the number is stored, never used as a position.
    int Append(std::int32_t number, const std::string& name, const std::string& path,
               const std::string& convertedPath, std::uint32_t size, std::uint32_t width,
               std::uint32_t height, std::int32_t mode);
    int RemoveAt(int position);
    int RemoveAll();  // always 1

    int Count() const;   // entries before the first empty name
    int Length() const;  // entries held

    std::string GetName(int position) const;
    std::string GetPath(int position) const;
    std::string GetConvertedPath(int position) const;
    std::uint32_t GetSize(int position) const;
    std::uint32_t GetWidth(int position) const;
    std::uint32_t GetHeight(int position) const;
    std::int32_t GetMode(int position) const;

    int SetConvertedPath(int position, const std::string& convertedPath);
    int SetSize(int position, std::uint32_t size);
    int SetWidth(int position, std::uint32_t width);
    int SetHeight(int position, std::uint32_t height);
    int SetMode(int position, std::int32_t mode);
    int SetSource(int position, const std::string& source);

    // A consistent copy of the first Count() entries, taken under one lock.
    std::vector<LogoEntry> Entries() const;

  private:
    bool InRange(int position) const {
        return position >= 0 && static_cast<std::size_t>(position) < entries_.size();
    }
    template <typename Field>
    Field Get(int position, Field LogoEntry::*field, Field outOfRange) const;
    template <typename Field>
    int Set(int position, Field LogoEntry::*field, const Field& value);

    mutable std::mutex mutex_;
    std::vector<LogoEntry> entries_;
};

// Replaces the contents of target with the first Count() entries of source,
// renumbered 0, 1, 2, ... (the refill of FlashLogos or RamLogos after a download).
void CopyLogoList(const CLogoList& source, CLogoList& target);

}  // namespace stampa
