#include "logos/logo_list.h"

namespace stampa {

int CLogoList::Append(std::int32_t number, const std::string& name, const std::string& path,
                      const std::string& convertedPath, std::uint32_t size, std::uint32_t width,
                      std::uint32_t height, std::int32_t mode) {
    std::lock_guard lock(mutex_);
    if (number < 0 || static_cast<std::size_t>(number) > entries_.size()) {
        return 0;
    }
    entries_.push_back(LogoEntry{number, name, path, convertedPath, size, width, height, mode, {}});
    return 1;
}

int CLogoList::RemoveAt(int position) {
    std::lock_guard lock(mutex_);
    if (!InRange(position)) {
        return 0;
    }
    entries_.erase(entries_.begin() + position);
    return 1;
}

int CLogoList::RemoveAll() {
    std::lock_guard lock(mutex_);
    std::vector<LogoEntry>().swap(entries_);  // releases the storage too
    return 1;
}

int CLogoList::Count() const {
    std::lock_guard lock(mutex_);
    int count = 0;
    while (static_cast<std::size_t>(count) < entries_.size() && !entries_[count].name.empty()) {
        ++count;
    }
    return count;
}

int CLogoList::Length() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(entries_.size());
}

template <typename Field>
Field CLogoList::Get(int position, Field LogoEntry::*field, Field outOfRange) const {
    std::lock_guard lock(mutex_);
    return InRange(position) ? entries_[position].*field : outOfRange;
}

template <typename Field>
int CLogoList::Set(int position, Field LogoEntry::*field, const Field& value) {
    std::lock_guard lock(mutex_);
    if (!InRange(position)) {
        return 0;
    }
    entries_[position].*field = value;
    return 1;
}

std::string CLogoList::GetName(int position) const {
    return Get(position, &LogoEntry::name, std::string("0"));
}
std::string CLogoList::GetPath(int position) const {
    return Get(position, &LogoEntry::path, std::string("0"));
}
std::string CLogoList::GetConvertedPath(int position) const {
    return Get(position, &LogoEntry::convertedPath, std::string("0"));
}
std::uint32_t CLogoList::GetSize(int position) const {
    return Get(position, &LogoEntry::size, 0u);
}
std::uint32_t CLogoList::GetWidth(int position) const {
    return Get(position, &LogoEntry::width, 0u);
}
std::uint32_t CLogoList::GetHeight(int position) const {
    return Get(position, &LogoEntry::height, 0u);
}
std::int32_t CLogoList::GetMode(int position) const {
    return Get(position, &LogoEntry::mode, 0);
}

int CLogoList::SetConvertedPath(int position, const std::string& convertedPath) {
    return Set(position, &LogoEntry::convertedPath, convertedPath);
}
int CLogoList::SetSize(int position, std::uint32_t size) {
    return Set(position, &LogoEntry::size, size);
}
int CLogoList::SetWidth(int position, std::uint32_t width) {
    return Set(position, &LogoEntry::width, width);
}
int CLogoList::SetHeight(int position, std::uint32_t height) {
    return Set(position, &LogoEntry::height, height);
}
int CLogoList::SetMode(int position, std::int32_t mode) {
    return Set(position, &LogoEntry::mode, mode);
}

int CLogoList::SetSource(int position, const std::string& source) {
    return Set(position, &LogoEntry::source, source);
}

std::vector<LogoEntry> CLogoList::Entries() const {
    std::lock_guard lock(mutex_);
    std::vector<LogoEntry> copy;
    for (const LogoEntry& entry : entries_) {
        if (entry.name.empty()) {
            break;
        }
        copy.push_back(entry);
    }
    return copy;
}

void CopyLogoList(const CLogoList& source, CLogoList& target) {
    if (&source == &target) {
        return;
    }
    const std::vector<LogoEntry> entries = source.Entries();
    target.RemoveAll();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const LogoEntry& e = entries[i];
        target.Append(static_cast<std::int32_t>(i), e.name, e.path, e.convertedPath, e.size,
                      e.width, e.height, e.mode);
        target.SetSource(static_cast<int>(i), e.source);
    }
}

}  // namespace stampa
