#pragma once
// Whether a downloaded file carries a valid minisign signature of the trusted
// key. Both minisign forms are checked: the legacy one signs the file's bytes,
// the prehashed one (minisign's default) their BLAKE2b-512 hash; in both the
// global signature over the signature and the trusted comment must hold too.

#include "update/MinisignKey.h"
#include "update/MinisignSignature.h"

#include <string>
#include <string_view>

namespace kalvara::update {

enum class SignatureVerdict {
    Valid,
    NoKey,          // no trusted key is configured: nothing can be trusted
    BadKey,         // the configured key is not a minisign public key
    Malformed,      // not a minisign signature (or larger than 4 KiB)
    ForeignKey,     // signed, but by another key
    Mismatch,       // the key's, but not of this file (or the comment was changed)
    UnreadableFile, // the file could not be read
};

// key_text: the trusted key (base64 line or whole ".pub" file), empty for none.
SignatureVerdict CheckFileSignature(const std::string& path, std::string_view signature_text,
                                    std::string_view key_text);

// The same for bytes in memory.
SignatureVerdict CheckSignature(std::string_view data, const MinisignSignature& signature,
                                const MinisignKey& key);

} // namespace kalvara::update
