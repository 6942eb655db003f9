// What Stampa last sent as an NV graphic under each key, per link: the digest
// of the definition (head and rows). An NV download skips a logo only where the
// printer on that link reports the key and the digest recorded for the link and
// key is the one it would send again. Kept beside the model's NV list file in
// "MODEL.nv.sent", a text file of lines "LINK<TAB>KEY<TAB>DIGEST" (16 hex digits),
// so the NV list file itself keeps its format.
//
// Several links can reach one printer (USB today, serial tomorrow), and several
// printers share a model: so a key sent over one link is forgotten for every
// other link, and anything unsure is forgotten rather than kept — a forgotten
// entry costs one definition sent again, a wrong one a logo never updated.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace stampa {

class NvSentRecord {
  public:
    std::optional<std::uint64_t> Find(const std::string& link, const std::string& key) const;

    // After this exactly `links` hold `digest` under `key`.
    void Replace(const std::string& key, const std::vector<std::string>& links,
                 std::uint64_t digest);
    // Nothing is known of `key` any more, on any link.
    void Forget(const std::string& key);

    std::string Encode() const;
    // Lines that cannot be read are left out (they only cost a definition).
    static NvSentRecord Decode(const std::string& text);

    bool operator==(const NvSentRecord&) const = default;

  private:
    std::map<std::pair<std::string, std::string>, std::uint64_t> entries_;  // (link, key)
};

std::string NvSentFileName(const std::string& startDirectory, const std::string& model);

// The model's record; empty for no model, a missing or unreadable file.
NvSentRecord LoadNvSent(const std::string& startDirectory, const std::string& model);

// Replaces the model's file whole; false (the file as it was) when it cannot be written.
bool SaveNvSent(const std::string& startDirectory, const std::string& model,
                const NvSentRecord& record);

}  // namespace stampa
