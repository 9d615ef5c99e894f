// Files and archives of our small class library: an in-memory file and the binary archive with
// the class library's count and string encodings, and the exceptions they throw.
#pragma once

#include "afx.h"

#include <vector>

// Base of the class library's exceptions; thrown as pointers and freed with Delete.
class CException : public CObject {
public:
    virtual void Delete() { delete this; }
};

class CArchiveException : public CException {
public:
    enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };
    explicit CArchiveException(int cause = none) : m_cause(cause) {}
    int m_cause;
};

// Throws a new CArchiveException with the cause.
[[noreturn]] void AfxThrowArchiveException(int cause);

// A file of bytes.
class CFile : public CObject {
public:
    virtual UINT Read(void* buffer, UINT count) = 0;
    virtual void Write(const void* buffer, UINT count) = 0;
};

// A file in memory that grows by a step; it can also be laid over a caller's global memory block.
class CMemFile : public CFile {
public:
    explicit CMemFile(UINT growBytes = 1024) : m_nGrowBytes(growBytes) {}
    // A file holding a copy of the bytes, positioned at their start.
    CMemFile(const BYTE* data, UINT size, UINT growBytes = 0);
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG GetLength() const { return m_data.size(); }
    void SeekToBegin() { m_nPosition = 0; }
    const std::vector<BYTE>& GetData() const { return m_data; }

private:
    std::vector<BYTE> m_data;
    size_t m_nPosition = 0;
    UINT m_nGrowBytes;
};

// A binary archive over a file, storing or loading.
class CArchive {
public:
    enum Mode { store = 0, load = 1 };
    CArchive(CFile* file, UINT mode, int bufferSize = 4096);
    ~CArchive() { Close(); }
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_nMode == store; }
    bool IsLoading() const { return m_nMode == load; }
    void Flush() {}
    void Close() {}

    void Write(const void* buffer, UINT count);
    // Reads exactly count bytes or throws endOfFile.
    void Read(void* buffer, UINT count);
    void ReadAll(void* buffer, UINT count) { Read(buffer, count); }

    // Counts: a 16-bit word below 0xFFFF, else 0xFFFF and a 32-bit value.
    void WriteCount(DWORD_PTR count);
    DWORD_PTR ReadCount();

    CArchive& operator<<(BYTE value) { Write(&value, sizeof value); return *this; }
    CArchive& operator<<(WORD value) { Write(&value, sizeof value); return *this; }
    CArchive& operator<<(DWORD value) { Write(&value, sizeof value); return *this; }
    CArchive& operator<<(LONG value) { Write(&value, sizeof value); return *this; }
    CArchive& operator<<(int value) { Write(&value, sizeof value); return *this; }
    CArchive& operator<<(UINT value) { Write(&value, sizeof value); return *this; }
    CArchive& operator<<(const CString& text);
    CArchive& operator>>(BYTE& value) { Read(&value, sizeof value); return *this; }
    CArchive& operator>>(WORD& value) { Read(&value, sizeof value); return *this; }
    CArchive& operator>>(DWORD& value) { Read(&value, sizeof value); return *this; }
    CArchive& operator>>(LONG& value) { Read(&value, sizeof value); return *this; }
    CArchive& operator>>(int& value) { Read(&value, sizeof value); return *this; }
    CArchive& operator>>(UINT& value) { Read(&value, sizeof value); return *this; }
    // Strings: a byte length below 0xFF, else 0xFF and a 16-bit length below 0xFFFE, else 0xFFFF
    // and a 32-bit length; then the bytes.
    CArchive& operator>>(CString& text);

    CFile* GetFile() const { return m_pFile; }

private:
    CFile* m_pFile;
    UINT m_nMode;
};
