// Files and archives of our small class library: an in-memory file and the binary archive with
// the class library's count, string and object encodings, and the exceptions they throw.
#pragma once

#include "afx.h"

#include <unordered_map>
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
    virtual ULONGLONG GetLength() const = 0;
    virtual ULONGLONG GetPosition() const = 0;
};

// A file in memory that grows by a step; it can also be laid over a caller's global memory block.
class CMemFile : public CFile {
public:
    explicit CMemFile(UINT growBytes = 1024) : m_nGrowBytes(growBytes) {}
    // A file holding a copy of the bytes, positioned at their start.
    CMemFile(const BYTE* data, UINT size, UINT growBytes = 0);
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG GetLength() const override { return m_data.size(); }
    ULONGLONG GetPosition() const override { return m_nPosition; }
    void SeekToBegin() { m_nPosition = 0; }
    const std::vector<BYTE>& GetData() const { return m_data; }

private:
    std::vector<BYTE> m_data;
    size_t m_nPosition = 0;
    UINT m_nGrowBytes;
};

// A binary archive over a file, storing or loading.
//
// Objects of serial classes are written by class. Before an object's fields comes one tag word:
//   0x0000                  a null object;
//   0xFFFF schema len name  the first object of a class: the schema word, the name length word
//                           (below 64) and the name bytes; the class takes the next map index,
//                           then the object the next one (indexes start at 1);
//   0x8000 | index          an object of a class seen before (the class's map index);
//   index                   a reference to an object written before (its map index), no fields;
//   0x7FFF dword            either of the last two when the index is 0x7FFF or more (the dword
//                           carries 0x80000000 | index for a class).
// Reading checks the class against the requested one before creating anything, checks every
// index against the map, and frees the object being read when its fields fail to read.
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

    // Writes a null, a reference to an object already written, or the class tag and the object's
    // fields (Serialize). The object's class must be serial (else badClass).
    void WriteObject(const CObject* object);
    // Reads an object of the requested class or one derived from it (any class when null): a new
    // object the caller owns, a null, or an object read before by this archive (not owned).
    // Throws badClass for a class that is unknown, not serial, not of the requested kind or has an
    // over-long name; badIndex for a reference outside the map; badSchema for a schema that differs
    // from a class that is not versionable.
    CObject* ReadObject(const CRuntimeClass* requested);
    // ReadObject for a slot that owns what it reads: a reference to an object read before (which
    // someone already owns) is refused with badIndex.
    CObject* ReadNewObject(const CRuntimeClass* requested);
    // While an object's fields are read: the schema number stored with its class (the one of the
    // innermost object, kept across the reading of nested objects); (UINT)-1 otherwise.
    UINT GetObjectSchema() const { return m_nObjectSchema; }

    CFile* GetFile() const { return m_pFile; }

    // What the objects being written or read may reach (set by the caller).
    CObject* m_pDocument = nullptr;

private:
    struct LoadedEntry {
        CRuntimeClass* cls;  // a class entry, or
        CObject* object;     // an object entry
        UINT schema;         // a class's schema as stored
    };
    CObject* ReadObjectOf(const CRuntimeClass* requested, bool allowReference);
    CRuntimeClass* ReadNewClass(const CRuntimeClass* requested, UINT& schema);
    void WriteIndexTag(DWORD index, bool isClass);
    void MapStored(const void* item);
    void MapLoaded(const LoadedEntry& entry);
    ULONGLONG BytesLeft() const;

    CFile* m_pFile;
    UINT m_nMode;
    std::unordered_map<const void*, DWORD> m_storeMap;  // class or object -> index
    DWORD m_nStoreCount = 1;
    std::vector<LoadedEntry> m_loadMap{LoadedEntry{nullptr, nullptr, 0}};  // index 0: null
    UINT m_nObjectSchema = (UINT)-1;
    int m_nDepth = 0;
};

inline CArchive& operator<<(CArchive& ar, const CObject* object) {
    ar.WriteObject(object);
    return ar;
}
