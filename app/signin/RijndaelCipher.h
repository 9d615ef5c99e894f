// The Rijndael block cipher (AES when the block is 16 bytes) with 16, 24 or 32-byte keys and
// blocks, table-driven, and the ECB, CBC and CFB modes over whole blocks. Failures throw
// standard exceptions whose texts are "Empty key", "Incorrect key length", "Incorrect block
// length", "Object not Initialized" and "Data not multiple of Block Size".
#pragma once

#include <cstddef>
#include <cstdint>

class CRijndaelCipher {
public:
    enum Mode { ECB = 0, CBC = 1, CFB = 2 };  // any other value acts as ECB

    CRijndaelCipher();
    virtual ~CRijndaelCipher();
    CRijndaelCipher(const CRijndaelCipher&) = delete;
    CRijndaelCipher& operator=(const CRijndaelCipher&) = delete;

    // Expands the key (exactly keyLength bytes are read) and sets the initial chain (blockLength
    // bytes; null means all zeros). Lengths are 16, 24 or 32 bytes.
    void MakeKey(const char* key, const char* chain, int keyLength = 16, int blockLength = 16);

    // One block; in and out may be the same buffer.
    void EncryptBlock(const char* in, char* out);
    void DecryptBlock(const char* in, char* out);

    // Whole blocks (length non-zero and a multiple of the block length) in the given mode. The
    // chain carries over from one call to the next; MakeKey and ResetChain set it back.
    // in and out may be the same buffer.
    void Encrypt(const char* in, char* out, size_t length, int mode = ECB);
    void Decrypt(const char* in, char* out, size_t length, int mode = ECB);

    // Sets the working chain back to the initial chain given to MakeKey.
    void ResetChain();

    bool IsInitialized() const { return m_initialized; }
    int KeyLength() const { return m_keyLength; }
    int BlockLength() const { return m_blockLength; }
    int Rounds() const { return m_rounds; }

protected:
    // The general block path (any block length); the 16-byte block has a path of its own.
    void EncryptGeneral(const uint8_t* in, uint8_t* out) const;
    void DecryptGeneral(const uint8_t* in, uint8_t* out) const;

private:
    static constexpr int kMaxRounds = 14;
    static constexpr int kMaxColumns = 8;
    static constexpr int kMaxBlock = 32;

    void RequireInitialized() const;
    void RequireWholeBlocks(size_t length) const;
    void ExpandKey(const uint8_t* key);
    void Encrypt16(const uint8_t* in, uint8_t* out) const;
    void Decrypt16(const uint8_t* in, uint8_t* out) const;
    // The rounds of the general path in either direction: the round tables and S-box of that
    // direction, its round keys and its ShiftRows offsets of rows 1 to 3.
    void GeneralRounds(const uint32_t (*tables)[256], const uint8_t* sbox, const uint32_t (*keys)[kMaxColumns],
                       const int offsets[3], const uint8_t* in, uint8_t* out) const;
    void EncryptOne(const uint8_t* in, uint8_t* out) const;
    void DecryptOne(const uint8_t* in, uint8_t* out) const;

    bool m_initialized = false;
    int m_keyLength = 16;
    int m_blockLength = 16;
    int m_rounds = 0;
    uint32_t m_encryptKeys[kMaxRounds + 1][kMaxColumns] = {};
    uint32_t m_decryptKeys[kMaxRounds + 1][kMaxColumns] = {};
    uint8_t m_initialChain[kMaxBlock] = {};
    uint8_t m_chain[kMaxBlock] = {};
};
