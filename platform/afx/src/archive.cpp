#include "afxarchive.h"

#include <cstring>

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
    std::string bytes(length, '\0');
    if (length) Read(&bytes[0], length);
    text = CString(bytes);
    return *this;
}
