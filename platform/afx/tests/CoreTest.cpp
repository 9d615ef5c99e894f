#include "TestApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

namespace {

class CAnimal : public CObject {
    DECLARE_DYNAMIC(CAnimal)
};
IMPLEMENT_DYNAMIC(CAnimal, CObject)

class CDog : public CAnimal {
    DECLARE_DYNCREATE(CDog)
};
IMPLEMENT_DYNCREATE(CDog, CAnimal)

}  // namespace

TEST(RuntimeClass, KnowsItsBasesAndCreatesByName) {
    CRuntimeClass* dogClass = CRuntimeClass::FromName("CDog");
    ASSERT_EQ(RUNTIME_CLASS(CDog), dogClass);
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CNoSuchClass"));
    CObject* made = dogClass->CreateObject();
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CAnimal)));
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(made->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_STREQ("CDog", made->GetRuntimeClass()->m_lpszClassName);
    delete made;
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CAnimal)->CreateObject());  // not creatable
}

TEST(String, FormatsTrimsAndCuts) {
    CString text;
    text.Format("%s/%d", "abc", 42);
    EXPECT_STREQ("abc/42", text);
    CString padded("  two words \t\n");
    padded.Trim();
    EXPECT_STREQ("two words", padded);
    EXPECT_STREQ("wo", padded.Mid(4, 2));
    EXPECT_STREQ("words", padded.Mid(4));
    EXPECT_STREQ("", padded.Mid(40));
    EXPECT_STREQ("two", padded.Left(3));
    EXPECT_STREQ("ords", padded.Right(4));
    EXPECT_EQ(4, padded.Find("words"));
    EXPECT_EQ(-1, padded.Find("xyz"));
    EXPECT_EQ(2, CString("a&b&c").Replace("&", "and"));
    EXPECT_EQ(0, CString("Embedding").CompareNoCase("EMBEDDING"));
}

TEST(String, ComparesAsMultibyteBytes) {
    EXPECT_LT(CString("1.10.0.0").Compare("1.9.0.0"), 0);
    EXPECT_GT(CString("b").Compare("a"), 0);
    EXPECT_EQ(0, CString("same").Compare("same"));
}

TEST(String, LoadsFromTheResourceHandleAndConvertsToUtf16) {
    CString text;
    EXPECT_TRUE(text.LoadString(100));
    EXPECT_STREQ("Hello from the table", text);
    EXPECT_FALSE(text.LoadString(9999));
    EXPECT_TRUE(text.IsEmpty());
    BSTR wide = CString("wide").AllocSysString();
    EXPECT_STREQ(L"wide", wide);
    ::SysFreeString(wide);
    EXPECT_STREQ("\xe9t\xe9", CString(L"\u00e9t\u00e9"));  // the ANSI code page 1252
}

TEST(Map, KeepsTheBucketOrderOfTheClassLibrary) {
    CMap<int, int, CString, const char*> map(17);
    // Keys 0x10 apart land in consecutive buckets; keys 0x110 apart share a bucket, newest first.
    map[0x20] = "b2";
    map[0x10] = "b1";
    map[0x120] = "b2-newer";
    std::vector<int> order;
    map.ForEach([&](int key, CString&) { order.push_back(key); });
    EXPECT_EQ((std::vector<int>{0x120, 0x10, 0x20}), order);
    CString value;
    EXPECT_TRUE(map.Lookup(0x120, value));
    EXPECT_STREQ("b2-newer", value);
    EXPECT_TRUE(map.RemoveKey(0x120));
    EXPECT_FALSE(map.RemoveKey(0x120));
    EXPECT_FALSE(map.Lookup(0x120, value));
    EXPECT_EQ(2, map.GetCount());
    EXPECT_EQ(17u, map.GetHashTableSize());
}

TEST(Rect, MeasuresAndMoves) {
    CRect rect(10, 20, 110, 70);
    EXPECT_EQ(100, rect.Width());
    EXPECT_EQ(50, rect.Height());
    rect.OffsetRect(5, -5);
    EXPECT_EQ(15, rect.left);
    EXPECT_EQ(15, rect.top);
    EXPECT_TRUE(CRect().IsRectEmpty());
}

// --- Objects of a thread's own (thread_local with a destructor: handle maps, hooks, trackers).

namespace {
// Filled with a pattern that the destructor checks: a destructor run on storage already given
// back reads the heap's own bookkeeping instead.
struct CThreadCanary {
    static constexpr unsigned long long kMark = 0x5AFE5AFE5AFE5AFEull;
    unsigned long long marks[4] = {kMark, kMark, kMark, kMark};
    std::set<int>* values = new std::set<int>{1, 2, 3};
    ~CThreadCanary();
};
// Runs before the canary's destructor (thread objects go in the reverse order of their
// construction) and takes blocks of the canary's size: storage given back too early is reused
// and overwritten here, whatever the heap's checks.
struct CHeapChurn {
    ~CHeapChurn() {
        for (int i = 0; i < 64; ++i) {
            void* block = std::malloc(sizeof(CThreadCanary) + sizeof(void*));
            std::memset(block, 0, sizeof(CThreadCanary) + sizeof(void*));
            taken.push_back(block);
        }
    }
    static std::vector<void*> taken;
};
std::vector<void*> CHeapChurn::taken;
LONG g_canariesIntact = 0;
LONG g_canariesDamaged = 0;
CThreadCanary::~CThreadCanary() {
    bool intact = values && values->size() == 3;
    for (unsigned long long mark : marks) intact = intact && mark == kMark;
    ::InterlockedIncrement(intact ? &g_canariesIntact : &g_canariesDamaged);
    if (intact) delete values;  // damaged storage holds no pointer worth freeing
}
}  // namespace

TEST(ThreadObjects, DestructorsOfAnEndingThreadsObjectsRunOnTheirOwnLiveStorage) {
    for (int i = 0; i < 8; ++i) {
        HANDLE thread = ::CreateThread(nullptr, 0, [](void*) -> DWORD {
            static thread_local CThreadCanary canary;
            static thread_local CHeapChurn churn;
            (void)churn;
            return canary.marks[0] == CThreadCanary::kMark ? 0 : 1;
        }, nullptr, 0, nullptr);
        ASSERT_NE(nullptr, thread);
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 10000));
        DWORD code = 1;
        ::GetExitCodeThread(thread, &code);
        EXPECT_EQ(0u, code);
        ::CloseHandle(thread);
    }
    for (void* block : CHeapChurn::taken) std::free(block);
    CHeapChurn::taken.clear();
    EXPECT_EQ(8, g_canariesIntact);
    EXPECT_EQ(0, g_canariesDamaged);
}
