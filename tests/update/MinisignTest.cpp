// Signature checks against signatures the minisign tool made, in both of its
// forms, and against every way a signature file can be wrong.

#include "MinisignKeys.h"
#include "support/TempFolder.h"
#include "update/SignatureCheck.h"

#include <gtest/gtest.h>
#include <regex>

namespace kalvara::update {
namespace {

using test::ReadFile;

class MinisignTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(trusted_.Ok() && foreign_.Ok()) << "minisign -G failed";
        test::WriteFile(file_, "#!/bin/sh\necho installed\n");
    }

    // The signature text keys made of the file as it is now.
    std::string SignedBy(const test::MinisignKeys& keys, bool legacy = false) const {
        return keys.Sign(file_, legacy) ? ReadFile(file_ + ".minisig") : "";
    }
    SignatureVerdict Check(const std::string& signature, const std::string& path = "") const {
        return CheckFileSignature(path.empty() ? file_ : path, signature, trusted_.PublicLine());
    }

    kalvara::test::TempFolder folder_;
    test::MinisignKeys trusted_{folder_.Path() / "keys", "trusted"};
    test::MinisignKeys foreign_{folder_.Path() / "keys", "foreign"};
    std::string file_ = folder_ / "setup.sh";
};

TEST_F(MinisignTest, BothFormsOfTheTrustedKeyVerifyAndATamperedFileDoesNot) {
    for (const bool legacy : {false, true}) {
        SCOPED_TRACE(legacy ? "legacy" : "prehashed");
        test::WriteFile(file_, "#!/bin/sh\necho installed\n");
        const std::string signature = SignedBy(trusted_, legacy);
        EXPECT_EQ(ParseMinisignSignature(signature)->Prehashed, !legacy);
        EXPECT_EQ(Check(signature), SignatureVerdict::Valid);
        // The whole ".pub" file serves as the key as well as its key line.
        EXPECT_EQ(CheckFileSignature(file_, signature, trusted_.PublicFile()),
                  SignatureVerdict::Valid);
        test::WriteFile(file_, "#!/bin/sh\necho installed; rm -rf ~\n");
        EXPECT_EQ(Check(signature), SignatureVerdict::Mismatch);
    }
    // A link to a signed file is not the file; a missing file is unread.
    const std::string signature = SignedBy(trusted_);
    std::filesystem::create_symlink(file_, folder_ / "link");
    EXPECT_EQ(Check(signature, folder_ / "link"), SignatureVerdict::UnreadableFile);
    EXPECT_EQ(Check(signature, folder_ / "absent"), SignatureVerdict::UnreadableFile);
}

// Another key, no key, a key id forged to the signer's, and a trusted comment
// or global signature changed after signing: the comment is covered too.
TEST_F(MinisignTest, SignaturesThatDoNotHoldAreRefused) {
    const std::string foreign = SignedBy(foreign_);
    EXPECT_EQ(Check(foreign), SignatureVerdict::ForeignKey);
    EXPECT_EQ(CheckFileSignature(file_, foreign, " \n"), SignatureVerdict::NoKey);
    EXPECT_EQ(CheckFileSignature(file_, foreign, "RWQ-not-a-key"), SignatureVerdict::BadKey);
    const MinisignKey key = *ParseMinisignKey(trusted_.PublicLine());
    MinisignKey forged = key;
    forged.KeyId = ParseMinisignSignature(foreign)->KeyId;
    EXPECT_EQ(CheckSignature(ReadFile(file_), *ParseMinisignSignature(foreign), forged),
              SignatureVerdict::Mismatch);

    const std::string signature = SignedBy(trusted_);
    std::string comment = signature;
    comment.insert(signature.find("\ntrusted comment: ") + 18, "x");
    EXPECT_EQ(Check(comment), SignatureVerdict::Mismatch);
    std::string untrusted = signature; // nothing covers this one
    untrusted.insert(19, "edited ");
    EXPECT_EQ(Check(untrusted), SignatureVerdict::Valid);
    auto parsed = *ParseMinisignSignature(signature);
    parsed.GlobalSignature[0] ^= 1;
    EXPECT_EQ(CheckSignature(ReadFile(file_), parsed, key), SignatureVerdict::Mismatch);
}

TEST_F(MinisignTest, MalformedSignatureFilesAreRefused) {
    const std::string good = SignedBy(trusted_);
    const auto line2 = good.find('\n') + 1;
    const auto line3 = good.find('\n', line2) + 1;
    EXPECT_EQ(Check(std::regex_replace(good, std::regex("\n"), "\r\n")), SignatureVerdict::Valid);
    EXPECT_EQ(Check(good + "\n\n"), SignatureVerdict::Valid);

    const auto edited = [&good](std::size_t at, std::size_t length, const std::string& text) {
        return std::string(good).replace(at, length, text);
    };
    for (const std::string& bad : {
             std::string(), good.substr(0, good.size() / 2), good.substr(0, line3),
             good.substr(line2),                            // no untrusted comment line
             good + "more\n",                               // a line too many
             edited(line2, 3, "RUx"),                       // base64 of "El..." instead of "ED..."
             edited(0, 9, "unchecked"),                     // the untrusted comment renamed
             edited(line2 + 5, 1, "*"),                     // not base64
             edited(line3 + 17, 0, std::string(4200, 'a')), // over 4 KiB
         }) {
        EXPECT_EQ(Check(bad), SignatureVerdict::Malformed) << bad.substr(0, 120);
    }
}

} // namespace
} // namespace kalvara::update
