#include "platform/Crypto.h"

#include <gtest/gtest.h>

using namespace norvelle;

TEST(Crypto, Sha256MatchesKnownDigests)
{
    EXPECT_EQ(Crypto::sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Crypto::sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Crypto::sha256Hex(QByteArray(1'000'000, 'a')),
        "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    EXPECT_EQ(Crypto::sha256("abc").size(), 32);
}

TEST(Crypto, RandomBytesHaveTheAskedLengthAndDiffer)
{
    const auto a = Crypto::randomBytes(32);
    const auto b = Crypto::randomBytes(32);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->size(), 32);
    EXPECT_NE(*a, *b);
    EXPECT_EQ(Crypto::randomBytes(0), QByteArray());
    EXPECT_FALSE(Crypto::randomBytes(-1));

    // More than one read of the kernel's generator gives at once.
    const auto large = Crypto::randomBytes(64 * 1024 * 1024);
    ASSERT_TRUE(large);
    EXPECT_EQ(large->size(), 64 * 1024 * 1024);
    EXPECT_NE(large->right(1024), QByteArray(1024, '\0'));
}
