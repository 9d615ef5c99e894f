// The stored password's two forms: the earlier versions' AES-128-ECB value under the built-in
// key (read only: known answers from profiles that exist), and the user-protected value that
// this program writes.
#include "signin/LoginState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<BYTE> Hex(const std::string& text) {
    std::vector<BYTE> bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2) bytes.push_back((BYTE)std::stoul(text.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string ToHex(const std::vector<BYTE>& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (BYTE b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

// Values written by the earlier versions.
const char kEmptyLegacy[] = "d6e07c0a2dad944add415d809bb425d8";
const char kSecretLegacy[] = "a7f318cd1ed323c680fe2fb7c26c5c8b";
const char kSixteenLegacy[] = "48ad623b0e03362f17aed26c815d0178d6e07c0a2dad944add415d809bb425d8";

CString Deciphered(const std::string& hex, bool* read = nullptr) {
    CString password("unchanged");
    bool ok = CStoredPassword::DecipherLegacy(Hex(hex), password);
    if (read) *read = ok;
    return password;
}

TEST(StoredPassword, LegacyKnownAnswersDecipher) {
    bool read = false;
    EXPECT_EQ(CString(""), Deciphered(kEmptyLegacy, &read));
    EXPECT_TRUE(read);
    EXPECT_EQ(CString("secret"), Deciphered(kSecretLegacy, &read));
    EXPECT_TRUE(read);
    EXPECT_EQ(CString("sixteen-chars!!!"), Deciphered(kSixteenLegacy, &read));
    EXPECT_TRUE(read);
}

TEST(StoredPassword, LegacyEncipheringGivesTheKnownAnswers) {
    EXPECT_EQ(kEmptyLegacy, ToHex(CStoredPassword::EncipherLegacy("")));
    EXPECT_EQ(kSecretLegacy, ToHex(CStoredPassword::EncipherLegacy("secret")));
    EXPECT_EQ(kSixteenLegacy, ToHex(CStoredPassword::EncipherLegacy("sixteen-chars!!!")));
}

TEST(StoredPassword, FifteenCharactersAreOneBlockSixteenAreTwo) {
    std::vector<BYTE> fifteen = CStoredPassword::EncipherLegacy("fifteen-chars!!");
    std::vector<BYTE> sixteen = CStoredPassword::EncipherLegacy("sixteen-chars!!!");
    EXPECT_EQ(16u, fifteen.size());
    EXPECT_EQ(32u, sixteen.size());
    EXPECT_EQ(16u, CStoredPassword::EncipherLegacy("").size());
    EXPECT_EQ(48u, CStoredPassword::EncipherLegacy(std::string(40, 'x').c_str()).size());
    CString back;
    ASSERT_TRUE(CStoredPassword::DecipherLegacy(fifteen, back));
    EXPECT_EQ(CString("fifteen-chars!!"), back);
    ASSERT_TRUE(CStoredPassword::DecipherLegacy(sixteen, back));
    EXPECT_EQ(CString("sixteen-chars!!!"), back);
}

TEST(StoredPassword, ValueWithoutTerminatorIsNoPassword) {
    // The first block of the sixteen-character value deciphers to sixteen letters and no zero.
    bool read = true;
    EXPECT_EQ(CString(""), Deciphered(std::string(kSixteenLegacy).substr(0, 32), &read));
    EXPECT_FALSE(read);
}

TEST(StoredPassword, LegacyValueOfBrokenLengthIsNoPassword) {
    bool read = true;
    Deciphered("", &read);
    EXPECT_FALSE(read);
    Deciphered(std::string(kSecretLegacy) + "00", &read);  // 17 bytes
    EXPECT_FALSE(read);
    Deciphered(std::string(kSecretLegacy).substr(0, 30), &read);  // 15 bytes
    EXPECT_FALSE(read);
}

TEST(StoredPassword, ProtectedValueRoundTripsAndHidesThePassword) {
    for (const char* password : {"test", "", "sixteen-chars!!!", "p\xE4sswort with \xA3 and spaces"}) {
        std::vector<BYTE> value;
        ASSERT_TRUE(CStoredPassword::Protect(password, value)) << password;
        std::string raw(value.begin(), value.end());
        if (*password) {
            EXPECT_EQ(std::string::npos, raw.find(password)) << "the password is not in the value as is";
        }
        EXPECT_NE(ToHex(CStoredPassword::EncipherLegacy(password)), ToHex(value));
        CString back("unchanged");
        ASSERT_TRUE(CStoredPassword::Unprotect(value, back)) << password;
        EXPECT_EQ(CString(password), back);
    }
}

TEST(StoredPassword, DamagedProtectedValueIsNoPassword) {
    std::vector<BYTE> value;
    ASSERT_TRUE(CStoredPassword::Protect("test", value));
    value[value.size() / 2] ^= 0x55;
    value.back() ^= 0x01;
    CString back("unchanged");
    EXPECT_FALSE(CStoredPassword::Unprotect(value, back));
    EXPECT_EQ(CString(""), back);
    EXPECT_FALSE(CStoredPassword::Unprotect(std::vector<BYTE>(), back));
    EXPECT_FALSE(CStoredPassword::Unprotect(Hex(kSecretLegacy), back)) << "a legacy value is not a protected one";
}

}  // namespace
