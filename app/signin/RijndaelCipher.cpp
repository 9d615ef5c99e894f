#include "signin/RijndaelCipher.h"

#include <cstring>
#include <stdexcept>

namespace {

// GF(2^8) with the Rijndael polynomial x^8 + x^4 + x^3 + x + 1.
uint8_t Times2(uint8_t value) {
    return (uint8_t)((value << 1) ^ ((value & 0x80) ? 0x1B : 0x00));
}

uint8_t Multiply(uint8_t a, uint8_t b) {
    uint8_t product = 0;
    while (b) {
        if (b & 1) product ^= a;
        a = Times2(a);
        b >>= 1;
    }
    return product;
}

uint32_t Word(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
    return ((uint32_t)b0 << 24) | ((uint32_t)b1 << 16) | ((uint32_t)b2 << 8) | b3;
}

uint32_t RotateRight8(uint32_t word) {
    return (word >> 8) | (word << 24);
}

// The S-boxes, the round constants and the combined round tables (SubBytes with MixColumns,
// and InvSubBytes with InvMixColumns), derived once from the algorithm's definition.
struct Tables {
    uint8_t sbox[256];
    uint8_t inverseSbox[256];
    uint8_t roundConstant[30];
    uint32_t encrypt[4][256];
    uint32_t decrypt[4][256];

    Tables() {
        // Powers of the generator 3 give logarithms, and with them the multiplicative inverse.
        uint8_t power[255], logarithm[256] = {};
        uint8_t x = 1;
        for (int i = 0; i < 255; ++i) {
            power[i] = x;
            logarithm[x] = (uint8_t)i;
            x = (uint8_t)(x ^ Times2(x));
        }
        for (int value = 0; value < 256; ++value) {
            uint8_t inverse = value ? power[(255 - logarithm[value]) % 255] : 0;
            uint8_t s = inverse;
            for (int shift = 1; shift <= 4; ++shift)
                s ^= (uint8_t)((inverse << shift) | (inverse >> (8 - shift)));
            s ^= 0x63;
            sbox[value] = s;
            inverseSbox[s] = (uint8_t)value;
        }
        uint8_t constant = 1;
        for (uint8_t& c : roundConstant) {
            c = constant;
            constant = Times2(constant);
        }
        for (int value = 0; value < 256; ++value) {
            uint8_t s = sbox[value];
            encrypt[0][value] = Word(Multiply(s, 2), s, s, Multiply(s, 3));
            uint8_t t = inverseSbox[value];
            decrypt[0][value] =
                Word(Multiply(t, 0x0E), Multiply(t, 0x09), Multiply(t, 0x0D), Multiply(t, 0x0B));
            for (int table = 1; table < 4; ++table) {
                encrypt[table][value] = RotateRight8(encrypt[table - 1][value]);
                decrypt[table][value] = RotateRight8(decrypt[table - 1][value]);
            }
        }
    }
};

const Tables& T() {
    static const Tables tables;
    return tables;
}

uint32_t SubWord(uint32_t word) {
    const uint8_t* s = T().sbox;
    return Word(s[word >> 24], s[(word >> 16) & 0xFF], s[(word >> 8) & 0xFF], s[word & 0xFF]);
}

uint32_t InverseMixColumn(uint32_t word) {
    // decrypt[i][sbox[b]] is InvMixColumns applied to byte b in row i.
    const Tables& t = T();
    return t.decrypt[0][t.sbox[word >> 24]] ^ t.decrypt[1][t.sbox[(word >> 16) & 0xFF]] ^
           t.decrypt[2][t.sbox[(word >> 8) & 0xFF]] ^ t.decrypt[3][t.sbox[word & 0xFF]];
}

uint32_t LoadWord(const uint8_t* bytes) {
    return Word(bytes[0], bytes[1], bytes[2], bytes[3]);
}

void StoreWord(uint32_t word, uint8_t* bytes) {
    bytes[0] = (uint8_t)(word >> 24);
    bytes[1] = (uint8_t)(word >> 16);
    bytes[2] = (uint8_t)(word >> 8);
    bytes[3] = (uint8_t)word;
}

// ShiftRows offsets of rows 1 to 3 by the number of columns.
void ShiftOffsets(int columns, int offsets[3]) {
    offsets[0] = 1;
    offsets[1] = columns == 8 ? 3 : 2;
    offsets[2] = columns == 8 ? 4 : 3;
}

bool ValidLength(int length) {
    return length == 16 || length == 24 || length == 32;
}

const uint8_t* Bytes(const char* p) {
    return reinterpret_cast<const uint8_t*>(p);
}

uint8_t* Bytes(char* p) {
    return reinterpret_cast<uint8_t*>(p);
}

}  // namespace

CRijndaelCipher::CRijndaelCipher() {
    T();  // the tables are ready before the first key
}

CRijndaelCipher::~CRijndaelCipher() {
    // Round keys and chains are key material.
    volatile uint8_t* p = reinterpret_cast<volatile uint8_t*>(m_encryptKeys);
    for (size_t i = 0; i < sizeof m_encryptKeys; ++i) p[i] = 0;
    p = reinterpret_cast<volatile uint8_t*>(m_decryptKeys);
    for (size_t i = 0; i < sizeof m_decryptKeys; ++i) p[i] = 0;
}

void CRijndaelCipher::MakeKey(const char* key, const char* chain, int keyLength, int blockLength) {
    if (!key) throw std::invalid_argument("Empty key");
    if (!ValidLength(keyLength)) throw std::invalid_argument("Incorrect key length");
    if (!ValidLength(blockLength)) throw std::invalid_argument("Incorrect block length");
    m_keyLength = keyLength;
    m_blockLength = blockLength;
    std::memset(m_initialChain, 0, sizeof m_initialChain);
    if (chain) std::memcpy(m_initialChain, chain, blockLength);
    std::memcpy(m_chain, m_initialChain, sizeof m_chain);
    m_rounds = 6 + (keyLength > blockLength ? keyLength : blockLength) / 4;
    ExpandKey(Bytes(key));
    m_initialized = true;
}

void CRijndaelCipher::ExpandKey(const uint8_t* key) {
    const int keyWords = m_keyLength / 4;
    const int columns = m_blockLength / 4;
    const int total = (m_rounds + 1) * columns;
    uint32_t words[(kMaxRounds + 1) * kMaxColumns];
    for (int i = 0; i < keyWords; ++i) words[i] = LoadWord(key + 4 * i);
    for (int i = keyWords; i < total; ++i) {
        uint32_t temp = words[i - 1];
        if (i % keyWords == 0) {
            temp = SubWord((temp << 8) | (temp >> 24)) ^ ((uint32_t)T().roundConstant[i / keyWords - 1] << 24);
        } else if (keyWords > 6 && i % keyWords == 4) {
            temp = SubWord(temp);
        }
        words[i] = words[i - keyWords] ^ temp;
    }
    for (int round = 0; round <= m_rounds; ++round)
        for (int column = 0; column < columns; ++column) m_encryptKeys[round][column] = words[round * columns + column];

    // The equivalent inverse cipher: the rounds in reverse order, with InvMixColumns applied to
    // the inner round keys.
    for (int round = 0; round <= m_rounds; ++round) {
        for (int column = 0; column < columns; ++column) {
            uint32_t word = m_encryptKeys[m_rounds - round][column];
            m_decryptKeys[round][column] = (round == 0 || round == m_rounds) ? word : InverseMixColumn(word);
        }
    }
    volatile uint32_t* wipe = words;
    for (int i = 0; i < total; ++i) wipe[i] = 0;
}

void CRijndaelCipher::RequireInitialized() const {
    if (!m_initialized) throw std::logic_error("Object not Initialized");
}

void CRijndaelCipher::RequireWholeBlocks(size_t length) const {
    if (length == 0 || length % (size_t)m_blockLength != 0)
        throw std::invalid_argument("Data not multiple of Block Size");
}

// ---------------------------------------------------------------------------------------------
// The 16-byte block: four columns, offsets 1, 2, 3.

void CRijndaelCipher::Encrypt16(const uint8_t* in, uint8_t* out) const {
    const Tables& t = T();
    const uint32_t(*te)[256] = t.encrypt;
    const uint32_t* key = m_encryptKeys[0];
    uint32_t a0 = LoadWord(in) ^ key[0];
    uint32_t a1 = LoadWord(in + 4) ^ key[1];
    uint32_t a2 = LoadWord(in + 8) ^ key[2];
    uint32_t a3 = LoadWord(in + 12) ^ key[3];
    for (int round = 1; round < m_rounds; ++round) {
        key = m_encryptKeys[round];
        uint32_t b0 = te[0][a0 >> 24] ^ te[1][(a1 >> 16) & 0xFF] ^ te[2][(a2 >> 8) & 0xFF] ^ te[3][a3 & 0xFF] ^ key[0];
        uint32_t b1 = te[0][a1 >> 24] ^ te[1][(a2 >> 16) & 0xFF] ^ te[2][(a3 >> 8) & 0xFF] ^ te[3][a0 & 0xFF] ^ key[1];
        uint32_t b2 = te[0][a2 >> 24] ^ te[1][(a3 >> 16) & 0xFF] ^ te[2][(a0 >> 8) & 0xFF] ^ te[3][a1 & 0xFF] ^ key[2];
        uint32_t b3 = te[0][a3 >> 24] ^ te[1][(a0 >> 16) & 0xFF] ^ te[2][(a1 >> 8) & 0xFF] ^ te[3][a2 & 0xFF] ^ key[3];
        a0 = b0;
        a1 = b1;
        a2 = b2;
        a3 = b3;
    }
    key = m_encryptKeys[m_rounds];
    const uint8_t* s = t.sbox;
    StoreWord(Word(s[a0 >> 24], s[(a1 >> 16) & 0xFF], s[(a2 >> 8) & 0xFF], s[a3 & 0xFF]) ^ key[0], out);
    StoreWord(Word(s[a1 >> 24], s[(a2 >> 16) & 0xFF], s[(a3 >> 8) & 0xFF], s[a0 & 0xFF]) ^ key[1], out + 4);
    StoreWord(Word(s[a2 >> 24], s[(a3 >> 16) & 0xFF], s[(a0 >> 8) & 0xFF], s[a1 & 0xFF]) ^ key[2], out + 8);
    StoreWord(Word(s[a3 >> 24], s[(a0 >> 16) & 0xFF], s[(a1 >> 8) & 0xFF], s[a2 & 0xFF]) ^ key[3], out + 12);
}

void CRijndaelCipher::Decrypt16(const uint8_t* in, uint8_t* out) const {
    const Tables& t = T();
    const uint32_t(*td)[256] = t.decrypt;
    const uint32_t* key = m_decryptKeys[0];
    uint32_t a0 = LoadWord(in) ^ key[0];
    uint32_t a1 = LoadWord(in + 4) ^ key[1];
    uint32_t a2 = LoadWord(in + 8) ^ key[2];
    uint32_t a3 = LoadWord(in + 12) ^ key[3];
    for (int round = 1; round < m_rounds; ++round) {
        key = m_decryptKeys[round];
        uint32_t b0 = td[0][a0 >> 24] ^ td[1][(a3 >> 16) & 0xFF] ^ td[2][(a2 >> 8) & 0xFF] ^ td[3][a1 & 0xFF] ^ key[0];
        uint32_t b1 = td[0][a1 >> 24] ^ td[1][(a0 >> 16) & 0xFF] ^ td[2][(a3 >> 8) & 0xFF] ^ td[3][a2 & 0xFF] ^ key[1];
        uint32_t b2 = td[0][a2 >> 24] ^ td[1][(a1 >> 16) & 0xFF] ^ td[2][(a0 >> 8) & 0xFF] ^ td[3][a3 & 0xFF] ^ key[2];
        uint32_t b3 = td[0][a3 >> 24] ^ td[1][(a2 >> 16) & 0xFF] ^ td[2][(a1 >> 8) & 0xFF] ^ td[3][a0 & 0xFF] ^ key[3];
        a0 = b0;
        a1 = b1;
        a2 = b2;
        a3 = b3;
    }
    key = m_decryptKeys[m_rounds];
    const uint8_t* s = t.inverseSbox;
    StoreWord(Word(s[a0 >> 24], s[(a3 >> 16) & 0xFF], s[(a2 >> 8) & 0xFF], s[a1 & 0xFF]) ^ key[0], out);
    StoreWord(Word(s[a1 >> 24], s[(a0 >> 16) & 0xFF], s[(a3 >> 8) & 0xFF], s[a2 & 0xFF]) ^ key[1], out + 4);
    StoreWord(Word(s[a2 >> 24], s[(a1 >> 16) & 0xFF], s[(a0 >> 8) & 0xFF], s[a3 & 0xFF]) ^ key[2], out + 8);
    StoreWord(Word(s[a3 >> 24], s[(a2 >> 16) & 0xFF], s[(a1 >> 8) & 0xFF], s[a0 & 0xFF]) ^ key[3], out + 12);
}

// ---------------------------------------------------------------------------------------------
// Any block length: row r of column j comes from column j + offset(r) (encrypt) or
// j - offset(r) (decrypt), modulo the number of columns. With the equivalent inverse cipher both
// directions run the same rounds, each over its own tables, S-box, round keys and shift.

void CRijndaelCipher::EncryptGeneral(const uint8_t* in, uint8_t* out) const {
    int offsets[3];
    ShiftOffsets(m_blockLength / 4, offsets);
    GeneralRounds(T().encrypt, T().sbox, m_encryptKeys, offsets, in, out);
}

void CRijndaelCipher::DecryptGeneral(const uint8_t* in, uint8_t* out) const {
    const int columns = m_blockLength / 4;
    int offsets[3];
    ShiftOffsets(columns, offsets);
    for (int& offset : offsets) offset = columns - offset;  // the inverse shift
    GeneralRounds(T().decrypt, T().inverseSbox, m_decryptKeys, offsets, in, out);
}

void CRijndaelCipher::GeneralRounds(const uint32_t (*tables)[256], const uint8_t* sbox,
                                    const uint32_t (*keys)[kMaxColumns], const int offsets[3], const uint8_t* in,
                                    uint8_t* out) const {
    const int columns = m_blockLength / 4;
    uint32_t a[kMaxColumns], b[kMaxColumns];
    for (int j = 0; j < columns; ++j) a[j] = LoadWord(in + 4 * j) ^ keys[0][j];
    for (int round = 1; round < m_rounds; ++round) {
        for (int j = 0; j < columns; ++j) {
            b[j] = tables[0][a[j] >> 24] ^ tables[1][(a[(j + offsets[0]) % columns] >> 16) & 0xFF] ^
                   tables[2][(a[(j + offsets[1]) % columns] >> 8) & 0xFF] ^
                   tables[3][a[(j + offsets[2]) % columns] & 0xFF] ^ keys[round][j];
        }
        std::memcpy(a, b, sizeof a);
    }
    for (int j = 0; j < columns; ++j) {
        uint32_t word = Word(sbox[a[j] >> 24], sbox[(a[(j + offsets[0]) % columns] >> 16) & 0xFF],
                             sbox[(a[(j + offsets[1]) % columns] >> 8) & 0xFF],
                             sbox[a[(j + offsets[2]) % columns] & 0xFF]);
        StoreWord(word ^ keys[m_rounds][j], out + 4 * j);
    }
}

// ---------------------------------------------------------------------------------------------

void CRijndaelCipher::EncryptOne(const uint8_t* in, uint8_t* out) const {
    if (m_blockLength == 16) {
        Encrypt16(in, out);
    } else {
        EncryptGeneral(in, out);
    }
}

void CRijndaelCipher::DecryptOne(const uint8_t* in, uint8_t* out) const {
    if (m_blockLength == 16) {
        Decrypt16(in, out);
    } else {
        DecryptGeneral(in, out);
    }
}

void CRijndaelCipher::EncryptBlock(const char* in, char* out) {
    RequireInitialized();
    EncryptOne(Bytes(in), Bytes(out));
}

void CRijndaelCipher::DecryptBlock(const char* in, char* out) {
    RequireInitialized();
    DecryptOne(Bytes(in), Bytes(out));
}

void CRijndaelCipher::Encrypt(const char* in, char* out, size_t length, int mode) {
    RequireInitialized();
    RequireWholeBlocks(length);
    const size_t block = (size_t)m_blockLength;
    for (size_t offset = 0; offset < length; offset += block) {
        const uint8_t* source = Bytes(in) + offset;
        uint8_t* target = Bytes(out) + offset;
        uint8_t work[kMaxBlock];
        switch (mode) {
        case CBC:
            for (size_t i = 0; i < block; ++i) m_chain[i] ^= source[i];
            EncryptOne(m_chain, m_chain);
            std::memcpy(target, m_chain, block);
            break;
        case CFB:
            EncryptOne(m_chain, work);
            for (size_t i = 0; i < block; ++i) m_chain[i] = work[i] ^ source[i];
            std::memcpy(target, m_chain, block);
            break;
        default:
            EncryptOne(source, target);
            break;
        }
    }
}

void CRijndaelCipher::Decrypt(const char* in, char* out, size_t length, int mode) {
    RequireInitialized();
    RequireWholeBlocks(length);
    const size_t block = (size_t)m_blockLength;
    for (size_t offset = 0; offset < length; offset += block) {
        const uint8_t* source = Bytes(in) + offset;
        uint8_t* target = Bytes(out) + offset;
        uint8_t cipher[kMaxBlock], work[kMaxBlock];
        std::memcpy(cipher, source, block);  // out may overwrite in
        switch (mode) {
        case CBC:
            DecryptOne(cipher, work);
            for (size_t i = 0; i < block; ++i) target[i] = work[i] ^ m_chain[i];
            std::memcpy(m_chain, cipher, block);
            break;
        case CFB:
            EncryptOne(m_chain, work);
            for (size_t i = 0; i < block; ++i) target[i] = work[i] ^ cipher[i];
            std::memcpy(m_chain, cipher, block);
            break;
        default:
            DecryptOne(cipher, target);
            break;
        }
    }
}

void CRijndaelCipher::ResetChain() {
    std::memcpy(m_chain, m_initialChain, sizeof m_chain);
}
