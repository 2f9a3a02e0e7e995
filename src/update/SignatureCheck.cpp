#include "update/SignatureCheck.h"

#include "core/UniqueFd.h"

#include <cerrno>
#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kalvara::update {

namespace {

// The legacy form needs the whole file in memory; installers are far smaller.
constexpr off_t LargestLegacyFile = off_t{512} * 1024 * 1024;

bool InitialiseSodium() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

const unsigned char* Bytes(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

// The global signature covers the file signature and the trusted comment, so
// that the comment cannot be changed or moved to another signature.
bool GlobalSignatureHolds(const MinisignSignature& signature, const MinisignKey& key) {
    std::vector<unsigned char> signed_part(signature.Signature.begin(), signature.Signature.end());
    signed_part.insert(signed_part.end(), signature.TrustedComment.begin(),
                       signature.TrustedComment.end());
    return crypto_sign_verify_detached(signature.GlobalSignature.data(), signed_part.data(),
                                       signed_part.size(), key.PublicKey.data()) == 0;
}

bool FileSignatureHolds(const unsigned char* message, std::size_t size,
                        const MinisignSignature& signature, const MinisignKey& key) {
    return crypto_sign_verify_detached(signature.Signature.data(), message, size,
                                       key.PublicKey.data()) == 0;
}

SignatureVerdict Decide(bool file_signature_holds, const MinisignSignature& signature,
                        const MinisignKey& key) {
    if (!file_signature_holds || !GlobalSignatureHolds(signature, key)) {
        return SignatureVerdict::Mismatch;
    }
    return SignatureVerdict::Valid;
}

bool ReadAll(int fd, std::vector<unsigned char>& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t got = ::read(fd, data.data() + done, data.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool HashFile(int fd, std::array<unsigned char, crypto_generichash_BYTES_MAX>& hash) {
    crypto_generichash_state state;
    crypto_generichash_init(&state, nullptr, 0, hash.size());
    std::vector<unsigned char> block(65536);
    while (true) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            break;
        }
        crypto_generichash_update(&state, block.data(), static_cast<std::size_t>(got));
    }
    crypto_generichash_final(&state, hash.data(), hash.size());
    return true;
}

} // namespace

SignatureVerdict CheckSignature(std::string_view data, const MinisignSignature& signature,
                                const MinisignKey& key) {
    if (!InitialiseSodium()) {
        return SignatureVerdict::UnreadableFile;
    }
    if (signature.KeyId != key.KeyId) {
        return SignatureVerdict::ForeignKey;
    }
    if (!signature.Prehashed) {
        return Decide(FileSignatureHolds(Bytes(data), data.size(), signature, key), signature, key);
    }
    std::array<unsigned char, crypto_generichash_BYTES_MAX> hash{};
    crypto_generichash(hash.data(), hash.size(), Bytes(data), data.size(), nullptr, 0);
    return Decide(FileSignatureHolds(hash.data(), hash.size(), signature, key), signature, key);
}

SignatureVerdict CheckFileSignature(const std::string& path, std::string_view signature_text,
                                    std::string_view key_text) {
    if (key_text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        return SignatureVerdict::NoKey;
    }
    const auto key = ParseMinisignKey(key_text);
    if (!key) {
        return SignatureVerdict::BadKey;
    }
    const auto signature = ParseMinisignSignature(signature_text);
    if (!signature) {
        return SignatureVerdict::Malformed;
    }
    if (signature->KeyId != key->KeyId) {
        return SignatureVerdict::ForeignKey;
    }
    if (!InitialiseSodium()) {
        return SignatureVerdict::UnreadableFile;
    }
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return SignatureVerdict::UnreadableFile;
    }
    if (signature->Prehashed) {
        std::array<unsigned char, crypto_generichash_BYTES_MAX> hash{};
        if (!HashFile(fd.Get(), hash)) {
            return SignatureVerdict::UnreadableFile;
        }
        return Decide(FileSignatureHolds(hash.data(), hash.size(), *signature, *key), *signature,
                      *key);
    }
    if (info.st_size > LargestLegacyFile) {
        return SignatureVerdict::Mismatch;
    }
    std::vector<unsigned char> data(static_cast<std::size_t>(info.st_size));
    if (!ReadAll(fd.Get(), data)) {
        return SignatureVerdict::UnreadableFile;
    }
    return Decide(FileSignatureHolds(data.data(), data.size(), *signature, *key), *signature, *key);
}

} // namespace kalvara::update
