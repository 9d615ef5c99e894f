#include "afxarchive.h"

#include <cstring>

namespace {
const WORD kNullTag = 0;
const WORD kNewClassTag = 0xFFFF;
const WORD kClassTag = 0x8000;
const WORD kBigObjectTag = 0x7FFF;
const DWORD kBigClassTag = 0x80000000;
const DWORD kMaxMapCount = 0x3FFFFFFE;
const WORD kMaxClassName = 64;   // names are shorter
const int kMaxDepth = 256;       // objects nested deeper are refused as damage
}  // namespace

void AfxThrowArchiveException(int cause) {
    throw new CArchiveException(cause);
}

CMemFile::CMemFile(const BYTE* data, UINT size, UINT growBytes)
    : m_data(data, data + size), m_nGrowBytes(growBytes) {}

UINT CMemFile::Read(void* buffer, UINT count) {
    size_t available = m_data.size() > m_nPosition ? m_data.size() - m_nPosition : 0;
    UINT n = (UINT)std::min<size_t>(count, available);
    if (n) std::memcpy(buffer, m_data.data() + m_nPosition, n);
    m_nPosition += n;
    return n;
}

void CMemFile::Write(const void* buffer, UINT count) {
    if (m_nPosition + count > m_data.size()) {
        if (m_nGrowBytes && m_data.capacity() < m_nPosition + count)
            m_data.reserve(((m_nPosition + count + m_nGrowBytes - 1) / m_nGrowBytes) * m_nGrowBytes);
        m_data.resize(m_nPosition + count);
    }
    if (count) std::memcpy(m_data.data() + m_nPosition, buffer, count);
    m_nPosition += count;
}

CArchive::CArchive(CFile* file, UINT mode, int) : m_pFile(file), m_nMode(mode) {}

void CArchive::Write(const void* buffer, UINT count) {
    if (!IsStoring()) AfxThrowArchiveException(CArchiveException::readOnly);
    m_pFile->Write(buffer, count);
}

void CArchive::Read(void* buffer, UINT count) {
    if (!IsLoading()) AfxThrowArchiveException(CArchiveException::writeOnly);
    if (m_pFile->Read(buffer, count) != count) AfxThrowArchiveException(CArchiveException::endOfFile);
}

void CArchive::WriteCount(DWORD_PTR count) {
    if (count < 0xFFFF) {
        *this << (WORD)count;
    } else {
        *this << (WORD)0xFFFF << (DWORD)count;
    }
}

DWORD_PTR CArchive::ReadCount() {
    WORD small = 0;
    *this >> small;
    if (small != 0xFFFF) return small;
    DWORD large = 0;
    *this >> large;
    return large;
}

CArchive& CArchive::operator<<(const CString& text) {
    const DWORD length = (DWORD)text.GetLength();
    if (length < 0xFF) {
        *this << (BYTE)length;
    } else if (length < 0xFFFE) {
        *this << (BYTE)0xFF << (WORD)length;
    } else {
        *this << (BYTE)0xFF << (WORD)0xFFFF << length;
    }
    Write(text.str().data(), length);
    return *this;
}

CArchive& CArchive::operator>>(CString& text) {
    BYTE small = 0;
    *this >> small;
    DWORD length = small;
    if (small == 0xFF) {
        WORD middle = 0;
        *this >> middle;
        length = middle;
        if (middle == 0xFFFF) *this >> length;
    }
    if (length > BytesLeft()) AfxThrowArchiveException(CArchiveException::endOfFile);
    std::string bytes(length, '\0');
    if (length) Read(&bytes[0], length);
    text = CString(bytes);
    return *this;
}

ULONGLONG CArchive::BytesLeft() const {
    const ULONGLONG length = m_pFile->GetLength(), position = m_pFile->GetPosition();
    return length > position ? length - position : 0;
}

void CArchive::WriteIndexTag(DWORD index, bool isClass) {
    if (index < kBigObjectTag) {
        *this << (WORD)(isClass ? (kClassTag | index) : index);
    } else {
        *this << kBigObjectTag << (isClass ? (kBigClassTag | index) : index);
    }
}

void CArchive::MapStored(const void* item) {
    if (m_nStoreCount >= kMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex);
    m_storeMap[item] = m_nStoreCount++;
}

void CArchive::MapLoaded(const LoadedEntry& entry) {
    if (m_loadMap.size() >= kMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex);
    m_loadMap.push_back(entry);
}

void CArchive::WriteObject(const CObject* object) {
    if (!IsStoring()) AfxThrowArchiveException(CArchiveException::readOnly);
    if (!object) {
        *this << kNullTag;
        return;
    }
    auto known = m_storeMap.find(object);
    if (known != m_storeMap.end()) {
        WriteIndexTag(known->second, false);
        return;
    }
    CRuntimeClass* cls = object->GetRuntimeClass();
    if (!cls->IsSerializable()) AfxThrowArchiveException(CArchiveException::badClass);
    auto knownClass = m_storeMap.find(cls);
    if (knownClass != m_storeMap.end()) {
        WriteIndexTag(knownClass->second, true);
    } else {
        const WORD length = (WORD)std::strlen(cls->m_lpszClassName);
        if (length >= kMaxClassName) AfxThrowArchiveException(CArchiveException::badClass);
        *this << kNewClassTag << (WORD)cls->m_wSchema << length;
        Write(cls->m_lpszClassName, length);
        MapStored(cls);
    }
    MapStored(object);
    const_cast<CObject*>(object)->Serialize(*this);
}

// Reads the rest of a new-class record and checks the class before anything is created.
CRuntimeClass* CArchive::ReadNewClass(const CRuntimeClass* requested, UINT& schema) {
    WORD storedSchema = 0, length = 0;
    *this >> storedSchema >> length;
    if (length >= kMaxClassName) AfxThrowArchiveException(CArchiveException::badClass);
    char name[kMaxClassName] = {};
    Read(name, length);
    CRuntimeClass* cls = std::strlen(name) == length ? CRuntimeClass::FromName(name) : nullptr;
    if (!cls || !cls->IsSerializable() || (requested && !cls->IsDerivedFrom(requested)))
        AfxThrowArchiveException(CArchiveException::badClass);
    if (!(cls->m_wSchema & VERSIONABLE_SCHEMA) && storedSchema != (WORD)cls->m_wSchema)
        AfxThrowArchiveException(CArchiveException::badSchema);
    MapLoaded({cls, nullptr, storedSchema});
    schema = storedSchema;
    return cls;
}

CObject* CArchive::ReadObject(const CRuntimeClass* requested) {
    return ReadObjectOf(requested, true);
}

CObject* CArchive::ReadNewObject(const CRuntimeClass* requested) {
    return ReadObjectOf(requested, false);
}

CObject* CArchive::ReadObjectOf(const CRuntimeClass* requested, bool allowReference) {
    if (!IsLoading()) AfxThrowArchiveException(CArchiveException::writeOnly);
    WORD tag = 0;
    *this >> tag;
    CRuntimeClass* cls = nullptr;
    UINT schema = 0;
    if (tag == kNewClassTag) {
        cls = ReadNewClass(requested, schema);
    } else {
        DWORD index = tag;
        if (tag == kBigObjectTag) {
            *this >> index;
        } else if (tag & kClassTag) {
            index = kBigClassTag | (tag & ~kClassTag);
        }
        const bool isClass = (index & kBigClassTag) != 0;
        index &= ~kBigClassTag;
        if (!isClass && index == kNullTag) return nullptr;
        if (index == 0 || index >= m_loadMap.size()) AfxThrowArchiveException(CArchiveException::badIndex);
        const LoadedEntry& entry = m_loadMap[index];
        if (!isClass) {
            if (!entry.object || !allowReference) AfxThrowArchiveException(CArchiveException::badIndex);
            if (requested && !entry.object->IsKindOf(requested))
                AfxThrowArchiveException(CArchiveException::badClass);
            return entry.object;
        }
        if (!entry.cls) AfxThrowArchiveException(CArchiveException::badIndex);
        if (requested && !entry.cls->IsDerivedFrom(requested)) AfxThrowArchiveException(CArchiveException::badClass);
        cls = entry.cls;
        schema = entry.schema;
    }
    if (m_nDepth >= kMaxDepth) AfxThrowArchiveException(CArchiveException::genericException);

    CObject* object = cls->CreateObject();
    const size_t mark = m_loadMap.size();
    const UINT outerSchema = m_nObjectSchema;
    ++m_nDepth;
    try {
        MapLoaded({nullptr, object, 0});
        m_nObjectSchema = schema;
        object->Serialize(*this);
    } catch (...) {
        // Whatever was read from here on belongs to the object (or was freed with a nested
        // failure): forget it so that nothing can refer to it.
        --m_nDepth;
        m_nObjectSchema = outerSchema;
        m_loadMap.resize(mark);
        delete object;
        throw;
    }
    --m_nDepth;
    m_nObjectSchema = outerSchema;
    return object;
}
