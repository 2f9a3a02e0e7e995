// The minisign formats come from the update server: any bytes parse or are refused
// without a crash, and whatever parses survives a signature check.

#include "FuzzSupport.h"
#include "update/MinisignKey.h"
#include "update/MinisignSignature.h"
#include "update/SignatureCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = kalvara::fuzz::AsText(data, size);
    const auto signature = kalvara::update::ParseMinisignSignature(text);
    const auto key = kalvara::update::ParseMinisignKey(text);
    if (signature) {
        kalvara::update::MinisignKey fixed;
        fixed.KeyId = signature->KeyId; // reach the signature checks, not only the id test
        (void)kalvara::update::CheckSignature(text, *signature, fixed);
    }
    if (key && signature) {
        (void)kalvara::update::CheckSignature(text, *signature, *key);
    }
    return 0;
}
