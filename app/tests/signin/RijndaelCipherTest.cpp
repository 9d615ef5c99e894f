// The block cipher: published known answers (FIPS-197 appendix C, the NIST SP 800-38A modes),
// the chain carried between calls, every failure text, the wider Rijndael block lengths, and
// Windows' own AES (bcrypt) as an independent check of the 16-byte ECB and CBC paths.
#include "signin/RijndaelCipher.h"

#include <windows.h>

#include <bcrypt.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Hex(const std::string& text) {
    Bytes bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2) bytes.push_back((unsigned char)std::stoul(text.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string ToHex(const Bytes& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

const char* C(const Bytes& bytes) {
    return reinterpret_cast<const char*>(bytes.data());
}

char* W(Bytes& bytes) {
    return reinterpret_cast<char*>(bytes.data());
}

Bytes Counting(size_t length) {
    Bytes bytes(length);
    for (size_t i = 0; i < length; ++i) bytes[i] = (unsigned char)i;
    return bytes;
}

Bytes Random(size_t length, unsigned seed) {
    std::mt19937 generator(seed);
    Bytes bytes(length);
    for (unsigned char& b : bytes) b = (unsigned char)generator();
    return bytes;
}

std::string EncryptHex(const Bytes& key, const Bytes& chain, const Bytes& plain, int mode) {
    CRijndaelCipher cipher;
    cipher.MakeKey(C(key), chain.empty() ? nullptr : C(chain), (int)key.size(), 16);
    Bytes out(plain.size());
    cipher.Encrypt(C(plain), W(out), plain.size(), mode);
    return ToHex(out);
}

std::string DecryptHex(const Bytes& key, const Bytes& chain, const Bytes& data, int mode) {
    CRijndaelCipher cipher;
    cipher.MakeKey(C(key), chain.empty() ? nullptr : C(chain), (int)key.size(), 16);
    Bytes out(data.size());
    cipher.Decrypt(C(data), W(out), data.size(), mode);
    return ToHex(out);
}

// The text of the exception the call throws, or "" when it throws none.
std::string Thrown(const std::function<void()>& call) {
    try {
        call();
    } catch (const std::exception& error) {
        return error.what();
    }
    return std::string();
}

// ---------------------------------------------------------------------------------------------
// FIPS-197 known answers.

const char kFipsPlain[] = "00112233445566778899aabbccddeeff";

TEST(RijndaelCipher, Fips197AppendixC1Aes128) {
    EXPECT_EQ("69c4e0d86a7b0430d8cdb78070b4c55a", EncryptHex(Counting(16), {}, Hex(kFipsPlain), CRijndaelCipher::ECB));
    EXPECT_EQ(kFipsPlain, DecryptHex(Counting(16), {}, Hex("69c4e0d86a7b0430d8cdb78070b4c55a"), CRijndaelCipher::ECB));
}

TEST(RijndaelCipher, Fips197AppendixC2Aes192) {
    EXPECT_EQ("dda97ca4864cdfe06eaf70a0ec0d7191", EncryptHex(Counting(24), {}, Hex(kFipsPlain), CRijndaelCipher::ECB));
    EXPECT_EQ(kFipsPlain, DecryptHex(Counting(24), {}, Hex("dda97ca4864cdfe06eaf70a0ec0d7191"), CRijndaelCipher::ECB));
}

TEST(RijndaelCipher, Fips197AppendixC3Aes256) {
    EXPECT_EQ("8ea2b7ca516745bfeafc49904b496089", EncryptHex(Counting(32), {}, Hex(kFipsPlain), CRijndaelCipher::ECB));
    EXPECT_EQ(kFipsPlain, DecryptHex(Counting(32), {}, Hex("8ea2b7ca516745bfeafc49904b496089"), CRijndaelCipher::ECB));
}

TEST(RijndaelCipher, Fips197AppendixBThroughTheBlockCalls) {
    CRijndaelCipher cipher;
    Bytes key = Hex("2b7e151628aed2a6abf7158809cf4f3c");
    cipher.MakeKey(C(key), nullptr, 16, 16);
    EXPECT_TRUE(cipher.IsInitialized());
    EXPECT_EQ(10, cipher.Rounds());
    Bytes plain = Hex("3243f6a8885a308d313198a2e0370734"), out(16), back(16);
    cipher.EncryptBlock(C(plain), W(out));
    EXPECT_EQ("3925841d02dc09fbdc118597196a0b32", ToHex(out));
    cipher.DecryptBlock(C(out), W(back));
    EXPECT_EQ(plain, back);
}

// ---------------------------------------------------------------------------------------------
// NIST SP 800-38A: the four-block examples with AES-128 (and the first blocks with 192 and 256).

const char kSpPlain[] =
    "6bc1bee22e409f96e93d7e117393172a"
    "ae2d8a571e03ac9c9eb76fac45af8e51"
    "30c81c46a35ce411e5fbc1191a0a52ef"
    "f69f2445df4f9b17ad2b417be66c3710";
const char kSpKey128[] = "2b7e151628aed2a6abf7158809cf4f3c";
const char kSpIv[] = "000102030405060708090a0b0c0d0e0f";

TEST(RijndaelCipher, Sp80038aEcbAes128) {
    const char expected[] =
        "3ad77bb40d7a3660a89ecaf32466ef97"
        "f5d3d58503b9699de785895a96fdbaaf"
        "43b1cd7f598ece23881b00e3ed030688"
        "7b0c785e27e8ad3f8223207104725dd4";
    EXPECT_EQ(expected, EncryptHex(Hex(kSpKey128), {}, Hex(kSpPlain), CRijndaelCipher::ECB));
    EXPECT_EQ(kSpPlain, DecryptHex(Hex(kSpKey128), {}, Hex(expected), CRijndaelCipher::ECB));
}

TEST(RijndaelCipher, Sp80038aEcbAes192And256FirstBlock) {
    Bytes block = Hex(std::string(kSpPlain).substr(0, 32));
    EXPECT_EQ("bd334f1d6e45f25ff712a214571fa5cc",
              EncryptHex(Hex("8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b"), {}, block, CRijndaelCipher::ECB));
    EXPECT_EQ("f3eed1bdb5d2a03c064b5a7e3db181f8",
              EncryptHex(Hex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4"), {}, block,
                         CRijndaelCipher::ECB));
}

TEST(RijndaelCipher, Sp80038aCbcAes128) {
    const char expected[] =
        "7649abac8119b246cee98e9b12e9197d"
        "5086cb9b507219ee95db113a917678b2"
        "73bed6b8e3c1743b7116e69e22229516"
        "3ff1caa1681fac09120eca307586e1a7";
    EXPECT_EQ(expected, EncryptHex(Hex(kSpKey128), Hex(kSpIv), Hex(kSpPlain), CRijndaelCipher::CBC));
    EXPECT_EQ(kSpPlain, DecryptHex(Hex(kSpKey128), Hex(kSpIv), Hex(expected), CRijndaelCipher::CBC));
}

TEST(RijndaelCipher, Sp80038aCfb128Aes128) {
    const char expected[] =
        "3b3fd92eb72dad20333449f8e83cfb4a"
        "c8a64537a0b3a93fcde3cdad9f1ce58b"
        "26751f67a3cbb140b1808cf187a4f4df"
        "c04b05357c5d1c0eeac4c66f9ff7f2e6";
    EXPECT_EQ(expected, EncryptHex(Hex(kSpKey128), Hex(kSpIv), Hex(kSpPlain), CRijndaelCipher::CFB));
    EXPECT_EQ(kSpPlain, DecryptHex(Hex(kSpKey128), Hex(kSpIv), Hex(expected), CRijndaelCipher::CFB));
}

TEST(RijndaelCipher, UnknownModeActsAsEcb) {
    EXPECT_EQ(EncryptHex(Hex(kSpKey128), Hex(kSpIv), Hex(kSpPlain), CRijndaelCipher::ECB),
              EncryptHex(Hex(kSpKey128), Hex(kSpIv), Hex(kSpPlain), 7));
    EXPECT_EQ(DecryptHex(Hex(kSpKey128), Hex(kSpIv), Hex(kSpPlain), CRijndaelCipher::ECB),
              DecryptHex(Hex(kSpKey128), Hex(kSpIv), Hex(kSpPlain), -1));
}

// ---------------------------------------------------------------------------------------------
// The chain.

class ChainCarried : public ::testing::TestWithParam<int> {};

TEST_P(ChainCarried, TwoOneBlockCallsEqualOneTwoBlockCall) {
    const int mode = GetParam();
    Bytes key = Hex(kSpKey128), zeros(16, 0), plain = Hex(std::string(kSpPlain).substr(0, 64));

    CRijndaelCipher whole;
    whole.MakeKey(C(key), C(zeros), 16, 16);
    Bytes together(32);
    whole.Encrypt(C(plain), W(together), 32, mode);

    CRijndaelCipher piecewise;
    piecewise.MakeKey(C(key), C(zeros), 16, 16);
    Bytes apart(32);
    piecewise.Encrypt(C(plain), W(apart), 16, mode);
    piecewise.Encrypt(C(plain) + 16, W(apart) + 16, 16, mode);
    EXPECT_EQ(ToHex(together), ToHex(apart));
    EXPECT_NE(ToHex(Bytes(together.begin(), together.begin() + 16)), ToHex(Bytes(together.begin() + 16, together.end())));

    CRijndaelCipher reader;
    reader.MakeKey(C(key), C(zeros), 16, 16);
    Bytes back(32);
    reader.Decrypt(C(together), W(back), 16, mode);
    reader.Decrypt(C(together) + 16, W(back) + 16, 16, mode);
    EXPECT_EQ(plain, back);
}

TEST_P(ChainCarried, MakeKeyAndResetChainStartTheChainAgain) {
    const int mode = GetParam();
    Bytes key = Hex(kSpKey128), iv = Hex(kSpIv), plain = Hex(std::string(kSpPlain).substr(0, 32));
    CRijndaelCipher cipher;
    cipher.MakeKey(C(key), C(iv), 16, 16);
    Bytes first(16), again(16), afterKey(16);
    cipher.Encrypt(C(plain), W(first), 16, mode);
    cipher.ResetChain();
    cipher.Encrypt(C(plain), W(again), 16, mode);
    EXPECT_EQ(first, again);
    cipher.MakeKey(C(key), C(iv), 16, 16);
    cipher.Encrypt(C(plain), W(afterKey), 16, mode);
    EXPECT_EQ(first, afterKey);
}

TEST_P(ChainCarried, InPlace) {
    const int mode = GetParam();
    Bytes key = Hex(kSpKey128), iv = Hex(kSpIv), plain = Hex(kSpPlain);
    std::string expected = EncryptHex(key, iv, plain, mode);
    CRijndaelCipher cipher;
    cipher.MakeKey(C(key), C(iv), 16, 16);
    Bytes buffer = plain;
    cipher.Encrypt(C(buffer), W(buffer), buffer.size(), mode);
    EXPECT_EQ(expected, ToHex(buffer));
    cipher.MakeKey(C(key), C(iv), 16, 16);
    cipher.Decrypt(C(buffer), W(buffer), buffer.size(), mode);
    EXPECT_EQ(plain, buffer);
}

INSTANTIATE_TEST_SUITE_P(Modes, ChainCarried,
                         ::testing::Values((int)CRijndaelCipher::ECB, (int)CRijndaelCipher::CBC, (int)CRijndaelCipher::CFB));

// ---------------------------------------------------------------------------------------------
// Failures.

TEST(RijndaelCipher, MakeKeyChecksInOrder) {
    Bytes key = Counting(32);
    CRijndaelCipher cipher;
    EXPECT_EQ("Empty key", Thrown([&] { cipher.MakeKey(nullptr, nullptr, 16, 16); }));
    EXPECT_EQ("Empty key", Thrown([&] { cipher.MakeKey(nullptr, nullptr, 17, 8); }));
    EXPECT_EQ("Incorrect key length", Thrown([&] { cipher.MakeKey(C(key), nullptr, 20, 16); }));
    EXPECT_EQ("Incorrect key length", Thrown([&] { cipher.MakeKey(C(key), nullptr, 0, 8); }));
    EXPECT_EQ("Incorrect block length", Thrown([&] { cipher.MakeKey(C(key), nullptr, 32, 8); }));
    EXPECT_EQ("Incorrect block length", Thrown([&] { cipher.MakeKey(C(key), nullptr, 24, 64); }));
    EXPECT_FALSE(cipher.IsInitialized());
}

TEST(RijndaelCipher, FailedMakeKeyKeepsThePreviousKey) {
    Bytes key = Hex(kSpKey128), plain = Hex(std::string(kSpPlain).substr(0, 32)), out(16);
    CRijndaelCipher cipher;
    cipher.MakeKey(C(key), nullptr, 16, 16);
    EXPECT_EQ("Incorrect block length", Thrown([&] { cipher.MakeKey(C(Counting(32)), nullptr, 32, 12); }));
    EXPECT_EQ(16, cipher.KeyLength());
    cipher.Encrypt(C(plain), W(out), 16, CRijndaelCipher::ECB);
    EXPECT_EQ("3ad77bb40d7a3660a89ecaf32466ef97", ToHex(out));
}

TEST(RijndaelCipher, EveryCallNeedsAKey) {
    CRijndaelCipher cipher;
    Bytes in(32, 1), out(32, 0xAA);
    EXPECT_EQ("Object not Initialized", Thrown([&] { cipher.EncryptBlock(C(in), W(out)); }));
    EXPECT_EQ("Object not Initialized", Thrown([&] { cipher.DecryptBlock(C(in), W(out)); }));
    EXPECT_EQ("Object not Initialized", Thrown([&] { cipher.Encrypt(C(in), W(out), 16, CRijndaelCipher::CBC); }));
    EXPECT_EQ("Object not Initialized", Thrown([&] { cipher.Decrypt(C(in), W(out), 16, CRijndaelCipher::ECB); }));
    EXPECT_EQ("Object not Initialized", Thrown([&] { cipher.Encrypt(C(in), W(out), 17, CRijndaelCipher::ECB); }));
    EXPECT_EQ(Bytes(32, 0xAA), out);
}

TEST(RijndaelCipher, LengthMustBeWholeBlocks) {
    Bytes key = Hex(kSpKey128), iv = Hex(kSpIv), in = Hex(kSpPlain), out(64, 0xAA);
    CRijndaelCipher cipher;
    cipher.MakeKey(C(key), C(iv), 16, 16);
    for (size_t length : {size_t(0), size_t(17), size_t(15), size_t(33)}) {
        EXPECT_EQ("Data not multiple of Block Size", Thrown([&] { cipher.Encrypt(C(in), W(out), length, CRijndaelCipher::CBC); }))
            << length;
        EXPECT_EQ("Data not multiple of Block Size", Thrown([&] { cipher.Decrypt(C(in), W(out), length, CRijndaelCipher::CFB); }))
            << length;
    }
    EXPECT_EQ(Bytes(64, 0xAA), out) << "nothing is written";
    // Nor did the failed calls move the chain.
    cipher.Encrypt(C(in), W(out), 64, CRijndaelCipher::CBC);
    EXPECT_EQ(EncryptHex(key, iv, in, CRijndaelCipher::CBC), ToHex(out));

    CRijndaelCipher wide;
    wide.MakeKey(C(key), nullptr, 16, 32);
    EXPECT_EQ("Data not multiple of Block Size", Thrown([&] { wide.Encrypt(C(in), W(out), 16, CRijndaelCipher::ECB); }));
    EXPECT_EQ("", Thrown([&] { wide.Encrypt(C(in), W(out), 64, CRijndaelCipher::ECB); }));
}

TEST(RijndaelCipher, FailuresAreStandardExceptions) {
    CRijndaelCipher cipher;
    EXPECT_THROW(cipher.MakeKey(nullptr, nullptr), std::logic_error);
    char block[16] = {};
    EXPECT_THROW(cipher.EncryptBlock(block, block), std::logic_error);
}

// ---------------------------------------------------------------------------------------------
// The wider Rijndael blocks go through the general path.

class CGeneralPath : public CRijndaelCipher {
public:
    using CRijndaelCipher::DecryptGeneral;
    using CRijndaelCipher::EncryptGeneral;
};

TEST(RijndaelCipher, GeneralPathAgreesWithTheSixteenBytePath) {
    for (int keyLength : {16, 24, 32}) {
        Bytes key = Random(keyLength, 7 + keyLength), plain = Random(16, 99), fast(16), general(16), back(16);
        CGeneralPath cipher;
        cipher.MakeKey(C(key), nullptr, keyLength, 16);
        cipher.EncryptBlock(C(plain), W(fast));
        cipher.EncryptGeneral(plain.data(), reinterpret_cast<uint8_t*>(W(general)));
        EXPECT_EQ(fast, general) << keyLength;
        cipher.DecryptGeneral(fast.data(), reinterpret_cast<uint8_t*>(W(back)));
        EXPECT_EQ(plain, back) << keyLength;
    }
    // FIPS-197 C.1 through the general path.
    CGeneralPath cipher;
    cipher.MakeKey(C(Counting(16)), nullptr, 16, 16);
    Bytes out(16);
    cipher.EncryptGeneral(Hex(kFipsPlain).data(), reinterpret_cast<uint8_t*>(W(out)));
    EXPECT_EQ("69c4e0d86a7b0430d8cdb78070b4c55a", ToHex(out));
}

TEST(RijndaelCipher, EveryKeyAndBlockLengthRoundTrips) {
    for (int keyLength : {16, 24, 32}) {
        for (int blockLength : {16, 24, 32}) {
            CRijndaelCipher cipher;
            Bytes key = Random(keyLength, keyLength * 100 + blockLength);
            cipher.MakeKey(C(key), C(Random(blockLength, 5)), keyLength, blockLength);
            EXPECT_EQ(6 + std::max(keyLength, blockLength) / 4, cipher.Rounds());
            EXPECT_EQ(blockLength, cipher.BlockLength());
            Bytes plain = Random(blockLength * 3, 11), out(plain.size()), back(plain.size());
            for (int mode : {0, 1, 2}) {
                cipher.ResetChain();
                cipher.Encrypt(C(plain), W(out), out.size(), mode);
                EXPECT_NE(plain, out);
                cipher.ResetChain();
                cipher.Decrypt(C(out), W(back), back.size(), mode);
                EXPECT_EQ(plain, back) << keyLength << "/" << blockLength << " mode " << mode;
            }
            // One changed input byte changes the whole block (every column is mixed).
            Bytes one = Random(blockLength, 3), other = one, a(blockLength), b(blockLength);
            other[blockLength - 1] ^= 1;
            cipher.EncryptBlock(C(one), W(a));
            cipher.EncryptBlock(C(other), W(b));
            int same = 0;
            for (int i = 0; i < blockLength; ++i) same += a[i] == b[i];
            EXPECT_LE(same, 4) << keyLength << "/" << blockLength;
        }
    }
}

TEST(RijndaelCipher, WideBlocksAreNotSixteenByteBlocksSideBySide) {
    Bytes key = Counting(16), plain = Random(32, 1), wideOut(32), narrowOut(32);
    CRijndaelCipher wide, narrow;
    wide.MakeKey(C(key), nullptr, 16, 32);
    narrow.MakeKey(C(key), nullptr, 16, 16);
    wide.Encrypt(C(plain), W(wideOut), 32, CRijndaelCipher::ECB);
    narrow.Encrypt(C(plain), W(narrowOut), 32, CRijndaelCipher::ECB);
    EXPECT_NE(wideOut, narrowOut);
    EXPECT_EQ(14, wide.Rounds());
}

// ---------------------------------------------------------------------------------------------
// Windows' AES as an independent implementation (16-byte blocks).

class CBcryptAes {
public:
    CBcryptAes(const Bytes& key, const wchar_t* chainMode) {
        status = ::BCryptOpenAlgorithmProvider(&m_algorithm, BCRYPT_AES_ALGORITHM, nullptr, 0);
        if (status != 0) return;
        status = ::BCryptSetProperty(m_algorithm, BCRYPT_CHAINING_MODE, (PUCHAR)chainMode,
                                     (ULONG)((std::wcslen(chainMode) + 1) * sizeof(wchar_t)), 0);
        if (status != 0) return;
        status = ::BCryptGenerateSymmetricKey(m_algorithm, &m_key, nullptr, 0, (PUCHAR)key.data(), (ULONG)key.size(), 0);
    }
    ~CBcryptAes() {
        if (m_key) ::BCryptDestroyKey(m_key);
        if (m_algorithm) ::BCryptCloseAlgorithmProvider(m_algorithm, 0);
    }
    Bytes Encrypt(const Bytes& plain, Bytes iv) {
        Bytes out(plain.size());
        ULONG written = 0;
        status = ::BCryptEncrypt(m_key, (PUCHAR)plain.data(), (ULONG)plain.size(), nullptr, iv.empty() ? nullptr : iv.data(),
                                 (ULONG)iv.size(), out.data(), (ULONG)out.size(), &written, 0);
        out.resize(written);
        return out;
    }
    Bytes Decrypt(const Bytes& data, Bytes iv) {
        Bytes out(data.size());
        ULONG written = 0;
        status = ::BCryptDecrypt(m_key, (PUCHAR)data.data(), (ULONG)data.size(), nullptr, iv.empty() ? nullptr : iv.data(),
                                 (ULONG)iv.size(), out.data(), (ULONG)out.size(), &written, 0);
        out.resize(written);
        return out;
    }
    NTSTATUS status = 0;

private:
    BCRYPT_ALG_HANDLE m_algorithm = nullptr;
    BCRYPT_KEY_HANDLE m_key = nullptr;
};

TEST(RijndaelCipherAgainstBcrypt, EcbWithEveryKeyLength) {
    for (int keyLength : {16, 24, 32}) {
        for (unsigned seed = 1; seed <= 20; ++seed) {
            Bytes key = Random(keyLength, seed * 31 + keyLength), plain = Random(16 * (seed % 5 + 1), seed);
            CBcryptAes windows(key, BCRYPT_CHAIN_MODE_ECB);
            ASSERT_EQ(0, windows.status) << "bcrypt AES-ECB is not available";
            Bytes expected = windows.Encrypt(plain, {});
            ASSERT_EQ(0, windows.status);
            EXPECT_EQ(ToHex(expected), EncryptHex(key, {}, plain, CRijndaelCipher::ECB)) << keyLength << " seed " << seed;
            EXPECT_EQ(ToHex(windows.Decrypt(plain, {})), DecryptHex(key, {}, plain, CRijndaelCipher::ECB))
                << keyLength << " seed " << seed;
        }
    }
}

TEST(RijndaelCipherAgainstBcrypt, CbcWithEveryKeyLength) {
    for (int keyLength : {16, 24, 32}) {
        for (unsigned seed = 1; seed <= 20; ++seed) {
            Bytes key = Random(keyLength, seed * 17 + keyLength), iv = Random(16, seed + 1000);
            Bytes plain = Random(16 * (seed % 4 + 1), seed + 2000);
            CBcryptAes windows(key, BCRYPT_CHAIN_MODE_CBC);
            ASSERT_EQ(0, windows.status) << "bcrypt AES-CBC is not available";
            Bytes expected = windows.Encrypt(plain, iv);
            ASSERT_EQ(0, windows.status);
            EXPECT_EQ(ToHex(expected), EncryptHex(key, iv, plain, CRijndaelCipher::CBC)) << keyLength << " seed " << seed;
            EXPECT_EQ(ToHex(windows.Decrypt(plain, iv)), DecryptHex(key, iv, plain, CRijndaelCipher::CBC))
                << keyLength << " seed " << seed;
        }
    }
}

}  // namespace
