#include "logos/nv_sent.h"

#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "common/atomic_file.h"
#include "logos/nv_list.h"

namespace stampa {
namespace {

constexpr char kHeading[] = "# Stampa: NV graphics sent, per link: LINK, KEY, DIGEST\n";

bool ParseLine(const std::string& line, std::string& link, std::string& key,
               std::uint64_t& digest) {
    const auto first = line.find('\t');
    const auto second = first == std::string::npos ? first : line.find('\t', first + 1);
    if (second == std::string::npos || line.size() - second - 1 != 16 || second - first - 1 != 2)
        return false;
    link = line.substr(0, first);
    key = line.substr(first + 1, 2);
    digest = 0;
    for (std::size_t i = second + 1; i < line.size(); ++i) {
        const char c = line[i];
        const int value =
            c >= '0' && c <= '9' ? c - '0' : (c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1);
        if (value < 0)
            return false;
        digest = digest << 4 | static_cast<std::uint64_t>(value);
    }
    return !link.empty();
}

}  // namespace

std::optional<std::uint64_t> NvSentRecord::Find(const std::string& link,
                                                const std::string& key) const {
    const auto found = entries_.find({link, key});
    if (found == entries_.end())
        return std::nullopt;
    return found->second;
}

void NvSentRecord::Replace(const std::string& key, const std::vector<std::string>& links,
                           std::uint64_t digest) {
    Forget(key);
    for (const std::string& link : links)
        entries_[{link, key}] = digest;
}

void NvSentRecord::Forget(const std::string& key) {
    std::erase_if(entries_, [&key](const auto& entry) { return entry.first.second == key; });
}

std::string NvSentRecord::Encode() const {
    std::string text = kHeading;
    for (const auto& [where, digest] : entries_) {
        if (where.first.find_first_of("\t\r\n") != std::string::npos)
            continue;  // a name the file cannot hold is forgotten instead
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016" PRIx64, digest);
        text += where.first + "\t" + where.second + "\t" + hex + "\n";
    }
    return text;
}

NvSentRecord NvSentRecord::Decode(const std::string& text) {
    NvSentRecord record;
    std::istringstream lines(text);
    std::string line, link, key;
    std::uint64_t digest = 0;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] != '#' && ParseLine(line, link, key, digest))
            record.entries_[{link, key}] = digest;
    }
    return record;
}

std::string NvSentFileName(const std::string& startDirectory, const std::string& model) {
    return NvListFileName(startDirectory, model) + ".sent";
}

NvSentRecord LoadNvSent(const std::string& startDirectory, const std::string& model) {
    if (model.empty())
        return {};
    std::ifstream in(NvSentFileName(startDirectory, model), std::ios::binary);
    return NvSentRecord::Decode(
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

bool SaveNvSent(const std::string& startDirectory, const std::string& model,
                const NvSentRecord& record) {
    if (model.empty())
        return false;
    const std::string text = record.Encode();
    return ReplaceFileAtomically(NvSentFileName(startDirectory, model),
                                 std::vector<unsigned char>(text.begin(), text.end()));
}

}  // namespace stampa
