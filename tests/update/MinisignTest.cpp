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

// Another key, a trusted comment or global signature changed after signing
// (the comment is covered too), and every way a signature file is malformed.
TEST_F(MinisignTest, SignaturesThatDoNotHoldAreRefused) {
    const std::string good = SignedBy(trusted_), foreign = SignedBy(foreign_);
    const auto line2 = good.find('\n') + 1;
    const auto line3 = good.find('\n', line2) + 1;
    const auto line4 = good.find('\n', line3) + 1;
    const auto edited = [&good](std::size_t at, std::size_t length, const std::string& text) {
        return std::string(good).replace(at, length, text);
    };
    using enum SignatureVerdict;
    for (const auto& [text, verdict] : std::vector<std::pair<std::string, SignatureVerdict>>{
             {std::regex_replace(good, std::regex("\n"), "\r\n"), Valid},
             {good + "\n\n", Valid},
             {edited(19, 0, "edited "), Valid}, // nothing covers the untrusted comment
             {foreign, ForeignKey},
             {edited(line3 + 17, 0, "x"), Mismatch},
             {edited(line4, 1, good[line4] == 'A' ? "B" : "A"), Mismatch},
             {std::string(), Malformed},
             {good.substr(0, good.size() / 2), Malformed},
             {good.substr(0, line3), Malformed},
             {good.substr(line2), Malformed},        // no untrusted comment line
             {good + "more\n", Malformed},           // a line too many
             {edited(line2, 3, "RUx"), Malformed},   // base64 of "El..." for "ED..."
             {edited(0, 9, "unchecked"), Malformed}, // the untrusted comment renamed
             {edited(line2 + 5, 1, "*"), Malformed}, // not base64
             {edited(line3 + 17, 0, std::string(4200, 'a')), Malformed}, // over 4 KiB
         }) {
        EXPECT_EQ(Check(text), verdict) << text.substr(0, 120);
    }
    EXPECT_EQ(CheckFileSignature(file_, foreign, " \n"), NoKey);
    EXPECT_EQ(CheckFileSignature(file_, foreign, "RWQ-not-a-key"), BadKey);
    // A key id forged to the signer's does not make its signature hold.
    MinisignKey forged = *ParseMinisignKey(trusted_.PublicLine());
    forged.KeyId = ParseMinisignSignature(foreign)->KeyId;
    EXPECT_EQ(CheckSignature(ReadFile(file_), *ParseMinisignSignature(foreign), forged), Mismatch);
}

} // namespace
} // namespace kalvara::update
