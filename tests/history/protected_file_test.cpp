#include "history/protected_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "support/fake_protection.h"

namespace varnoke {
namespace {

using samples::Open;

const std::string kHeaderLine = "Varnoke Protected Data File\r\n";

std::string ReadAll(ByteSource& source) {
    std::string bytes(static_cast<size_t>(source.Remaining()), '\0');
    bytes.resize(source.Read(&bytes[0], bytes.size()));
    return bytes;
}

TEST(ProtectedFileTest, TheEnvelopeNamesItsSizeAndNothingElseFollows) {
    const std::string file = MakeProtectedFile("blob");
    EXPECT_EQ(file, kHeaderLine + std::string("\x04\0\0\0", 4) + "blob");
    std::string_view data;
    ASSERT_TRUE(ParseProtectedFile(file, &data));
    EXPECT_EQ(data, "blob");
    for (const std::string& bad :
         {file.substr(0, file.size() - 1), file + "x", "X" + file.substr(1),
          "Varnoke Protected Data File\n" + file.substr(kHeaderLine.size()), kHeaderLine}) {
        EXPECT_FALSE(ParseProtectedFile(bad, &data)) << bad;
    }
}

TEST(ProtectedFileTest, APlainFileReadsAsItIsWhateverItsLength) {
    samples::FakeProtection user;
    for (const std::string& plain : {std::string(), std::string("Varn"),
                                     std::string("Varnoke Clipboard History Data File\r\n"),
                                     // Its first line only begins like the protected one.
                                     std::string("Varnoke Protected Data File 2\r\nrest")}) {
        PlainFile opened = Open(plain, &user);
        ASSERT_EQ(opened.kind, PlainFile::Kind::kPlain) << plain;
        EXPECT_EQ(ReadAll(*opened.source), plain);
    }
    // Skipping crosses from the bytes read to tell the kinds apart into the rest.
    const std::string longer = "Varnoke Clipboard History Data File\r\n0123456789";
    PlainFile opened = Open(longer, &user);
    ASSERT_TRUE(opened.source->Skip(35));
    EXPECT_EQ(ReadAll(*opened.source), "\r\n0123456789");
}

TEST(ProtectedFileTest, OnlyTheUserWhoProtectedTheFileReadsIt) {
    samples::FakeProtection user('A'), other('B');
    std::string data = "plain history";
    ASSERT_TRUE(user.Protect(&data));
    const std::string file = MakeProtectedFile(data);
    PlainFile opened = Open(file, &user);
    ASSERT_EQ(opened.kind, PlainFile::Kind::kProtected);
    EXPECT_EQ(ReadAll(*opened.source), "plain history");

    EXPECT_EQ(Open(file, &other).kind, PlainFile::Kind::kUnreadable);
    EXPECT_EQ(Open(file, nullptr).kind, PlainFile::Kind::kUnreadable);
    std::string changed = file;
    changed[changed.size() - 12] ^= 1;
    EXPECT_EQ(Open(changed, &user).kind, PlainFile::Kind::kUnreadable);
    EXPECT_EQ(Open(kHeaderLine + "garbage", &user).kind, PlainFile::Kind::kUnreadable);
    EXPECT_EQ(Open(kHeaderLine, &user).kind, PlainFile::Kind::kUnreadable);
    EXPECT_EQ(OpenPlainFile(nullptr, &user).kind, PlainFile::Kind::kUnreadable);
    EXPECT_EQ(Open(kHeaderLine + std::string("\xff\xff\xff\xff", 4), &user).kind,
              PlainFile::Kind::kUnreadable);
}

// A file far larger than any history's (a disk image named .vnk, say) is refused before
// anything is allocated or read for it.
// The parts of either form, found from the end where they follow the sealed bytes.
TEST(ProtectedFileTest, TheFormsOfProtectedDataAreToldByTheirLastByte) {
    const std::string tag(16, 'T'), nonce(12, 'N');
    const std::string keySealed = "sealed" + KeySealedTrailer(tag, nonce, "key");
    SealedData parts;
    ASSERT_TRUE(ParseSealedData(keySealed, &parts));
    EXPECT_EQ(parts.method, 'K');
    EXPECT_EQ(parts.sealedSize, 6u);
    EXPECT_EQ(parts.tag, tag);
    EXPECT_EQ(parts.nonce, nonce);
    EXPECT_EQ(parts.wrappedKey, "key");
    ASSERT_TRUE(ParseSealedData("blobD", &parts));
    EXPECT_EQ(parts.method, 'D');
    EXPECT_EQ(parts.sealedSize, 4u);
    // Nothing sealed at all is a form too; a key too large for what precedes it is not.
    EXPECT_TRUE(ParseSealedData(KeySealedTrailer(tag, nonce, "key"), &parts));
    for (const std::string& bad : {std::string(), std::string("D"), std::string("blobX"),
                                   KeySealedTrailer(tag.substr(1), nonce, "key"),
                                   "sealed" + KeySealedTrailer(tag, nonce, "")}) {
        EXPECT_FALSE(ParseSealedData(bad, &parts)) << bad;
    }
}

TEST(ProtectedFileTest, AFileBeyondAnyHistorysSizeIsNotReadIn) {
    // The header line, then a terabyte that is never there to be read.
    class Huge : public ByteSource {
      public:
        size_t Read(void* buffer, size_t size) override {
            const size_t n =
                std::min(size, kHeaderLine.size() - std::min(pos_, kHeaderLine.size()));
            std::memcpy(buffer, kHeaderLine.data() + pos_, n);
            pos_ += n;
            return n;
        }
        uint64_t Remaining() const override { return (1ull << 40) - pos_; }

      private:
        size_t pos_ = 0;
    };
    samples::FakeProtection user;
    EXPECT_EQ(OpenPlainFile(std::make_unique<Huge>(), &user).kind, PlainFile::Kind::kUnreadable);
}

}  // namespace
}  // namespace varnoke
