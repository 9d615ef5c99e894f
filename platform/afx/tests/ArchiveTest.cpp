#include <functional>
#include "afxarchive.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::vector<BYTE> Stored(const std::function<void(CArchive&)>& write) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    write(ar);
    return file.GetData();
}

TEST(Archive, CountsUseAWordBelow0xFFFF) {
    EXPECT_EQ((std::vector<BYTE>{0x34, 0x12}), Stored([](CArchive& ar) { ar.WriteCount(0x1234); }));
    EXPECT_EQ((std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF, 0, 0}), Stored([](CArchive& ar) { ar.WriteCount(0xFFFF); }));
    std::vector<BYTE> bytes = Stored([](CArchive& ar) {
        ar.WriteCount(7);
        ar.WriteCount(70000);
    });
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    EXPECT_EQ(7u, ar.ReadCount());
    EXPECT_EQ(70000u, ar.ReadCount());
}

TEST(Archive, StringsCarryTheirLength) {
    EXPECT_EQ((std::vector<BYTE>{3, 'a', 'b', 'c'}), Stored([](CArchive& ar) { ar << CString("abc"); }));
    const std::string longText(300, 'x');
    std::vector<BYTE> bytes = Stored([&](CArchive& ar) {
        ar << CString(longText) << CString("") << (DWORD)0xA1B2C3D4;
    });
    ASSERT_EQ(3u + 300u + 1u + 4u, bytes.size());
    EXPECT_EQ(0xFF, bytes[0]);
    EXPECT_EQ(300 & 0xFF, bytes[1]);
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    CString first, second;
    DWORD value = 0;
    ar >> first >> second >> value;
    EXPECT_EQ(longText, first.str());
    EXPECT_TRUE(second.IsEmpty());
    EXPECT_EQ(0xA1B2C3D4u, value);
}

TEST(Archive, ReadingPastTheEndThrows) {
    std::vector<BYTE> bytes = {1, 2};
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    DWORD value = 0;
    int cause = -1;
    try {
        ar >> value;
    } catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(CArchiveException::endOfFile, cause);
}

TEST(Archive, StoringArchiveCannotRead) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    EXPECT_TRUE(ar.IsStoring());
    BYTE value = 0;
    int cause = -1;
    try {
        ar >> value;
    } catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(CArchiveException::writeOnly, cause);
}

}  // namespace
