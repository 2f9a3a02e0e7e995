// Signature checks against signatures the minisign tool made, in both of its
// forms, and against every way a signature file can be wrong.

#include "MinisignKeys.h"
#include "support/TempFolder.h"
#include "update/SignatureCheck.h"

#include <gtest/gtest.h>

namespace kalvara::update {
namespace {

namespace fs = std::filesystem;
using test::ReadText;

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class MinisignTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(trusted_.Ok() && foreign_.Ok()) << "minisign -G failed";
        WriteText(file_, "#!/bin/sh\necho installed\n");
    }

    SignatureVerdict Check(const std::string& signature) const {
        return CheckFileSignature(file_.string(), signature, trusted_.PublicLine());
    }

    kalvara::test::TempFolder folder_;
    test::MinisignKeys trusted_{folder_.Path() / "keys", "trusted"};
    test::MinisignKeys foreign_{folder_.Path() / "keys", "foreign"};
    fs::path file_ = folder_.Path() / "setup.sh";
    fs::path signature_ = folder_.Path() / "setup.sh.minisig";
};

TEST_F(MinisignTest, BothFormsOfTheTrustedKeyVerifyAndATamperedFileDoesNot) {
    for (const bool legacy : {false, true}) {
        SCOPED_TRACE(legacy ? "legacy" : "prehashed");
        WriteText(file_, "#!/bin/sh\necho installed\n");
        ASSERT_TRUE(trusted_.Sign(file_, legacy));
        const std::string signature = ReadText(signature_);
        EXPECT_EQ(ParseMinisignSignature(signature)->Prehashed, !legacy);
        EXPECT_EQ(Check(signature), SignatureVerdict::Valid);
        // The whole ".pub" file serves as the key as well as its key line.
        EXPECT_EQ(CheckFileSignature(file_.string(), signature, trusted_.PublicFile()),
                  SignatureVerdict::Valid);
        WriteText(file_, "#!/bin/sh\necho installed; rm -rf ~\n");
        EXPECT_EQ(Check(signature), SignatureVerdict::Mismatch);
    }
    // A link to a signed file is not the file; a missing file is unread.
    fs::create_symlink(file_, folder_.Path() / "link");
    for (const char* name : {"link", "absent"}) {
        EXPECT_EQ(CheckFileSignature((folder_.Path() / name).string(), ReadText(signature_),
                                     trusted_.PublicLine()),
                  SignatureVerdict::UnreadableFile);
    }
}

// Another key, no key, a key id forged to the signer's, and a trusted comment
// or global signature changed after signing: the comment is covered too.
TEST_F(MinisignTest, SignaturesThatDoNotHoldAreRefused) {
    ASSERT_TRUE(foreign_.Sign(file_));
    const std::string foreign = ReadText(signature_);
    EXPECT_EQ(Check(foreign), SignatureVerdict::ForeignKey);
    EXPECT_EQ(CheckFileSignature(file_.string(), foreign, " \n"), SignatureVerdict::NoKey);
    EXPECT_EQ(CheckFileSignature(file_.string(), foreign, "RWQ-not-a-key"),
              SignatureVerdict::BadKey);
    const MinisignKey key = *ParseMinisignKey(trusted_.PublicLine());
    MinisignKey forged = key;
    forged.KeyId = ParseMinisignSignature(foreign)->KeyId;
    EXPECT_EQ(CheckSignature(ReadText(file_), *ParseMinisignSignature(foreign), forged),
              SignatureVerdict::Mismatch);

    ASSERT_TRUE(trusted_.Sign(file_));
    const std::string signature = ReadText(signature_);
    std::string comment = signature;
    comment.insert(signature.find("\ntrusted comment: ") + 18, "x");
    EXPECT_EQ(Check(comment), SignatureVerdict::Mismatch);
    std::string untrusted = signature; // nothing covers this one
    untrusted.insert(19, "edited ");
    EXPECT_EQ(Check(untrusted), SignatureVerdict::Valid);
    auto parsed = *ParseMinisignSignature(signature);
    parsed.GlobalSignature[0] ^= 1;
    EXPECT_EQ(CheckSignature(ReadText(file_), parsed, key), SignatureVerdict::Mismatch);
}

TEST_F(MinisignTest, MalformedSignatureFilesAreRefused) {
    ASSERT_TRUE(trusted_.Sign(file_));
    const std::string good = ReadText(signature_);
    const auto line2 = good.find('\n') + 1;
    const auto line3 = good.find('\n', line2) + 1;

    std::string crlf;
    for (char c : good) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_EQ(Check(crlf), SignatureVerdict::Valid);
    EXPECT_EQ(Check(good + "\n\n"), SignatureVerdict::Valid);

    std::string wrong_algorithm = good;
    wrong_algorithm.replace(line2, 3, "RUx"); // base64 of "El..." instead of "ED..."
    std::string extra_line = good + "more\n";
    std::string no_untrusted = good.substr(line2);
    std::string untrusted_renamed = good;
    untrusted_renamed.replace(0, 9, "unchecked");
    std::string bad_base64 = good;
    bad_base64[line2 + 5] = '*';
    std::string long_comment = good;
    long_comment.insert(line3 + 17, std::string(4200, 'a'));
    for (const std::string& bad :
         {std::string(), std::string("garbage"), good.substr(0, good.size() / 2),
          good.substr(0, line3), wrong_algorithm, extra_line, no_untrusted, untrusted_renamed,
          bad_base64, long_comment, std::string(5000, 'x')}) {
        EXPECT_EQ(Check(bad), SignatureVerdict::Malformed) << bad.substr(0, 120);
    }
}

} // namespace
} // namespace kalvara::update
