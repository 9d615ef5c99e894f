// Enumeration of the collections: the separate enumerators of _NewEnum, the collection's own
// IEnumVARIANT, and Next, Skip, Reset and Clone at the edges.
#include <windows.h>

#include <string>
#include <vector>

#include "DataTestSupport.h"

using namespace datatest;

namespace {

class EnumTest : public testsupport::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        ASSERT_HRESULT_SUCCEEDED(Create(CLSID_StringCollection2, IID_IStringCollection2, &col));
        for (const wchar_t* item : {L"a", L"b", L"c"}) {
            Text text(item);
            ASSERT_EQ(S_OK, col->Add(text));
        }
    }
    void TearDown() override {
        col.Reset();
        ComTest::TearDown();
    }
    HRESULT NewEnum(IEnumVARIANT** result) {
        Ref<IUnknown> unknown;
        HRESULT hr = col->get__NewEnum(&unknown);
        if (FAILED(hr)) return hr;
        return unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(result));
    }
    // The next item's text, or "<end>".
    static std::wstring NextText(IEnumVARIANT* e) {
        VARIANT v;
        ULONG fetched = 99;
        const HRESULT hr = e->Next(1, &v, &fetched);
        if (hr != S_OK) return fetched == 0 && hr == S_FALSE ? L"<end>" : L"<bad result>";
        std::wstring text = v.vt == VT_BSTR && v.bstrVal ? v.bstrVal : L"<not text>";
        ::VariantClear(&v);
        return text;
    }

    Ref<IStringCollection2> col;
};

TEST_F(EnumTest, NewEnumIsASeparateObjectThatKeepsTheCollection) {
    Ref<IUnknown> enumUnknown, colUnknown;
    ASSERT_EQ(S_OK, col->get__NewEnum(&enumUnknown));
    ASSERT_EQ(S_OK, col->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&colUnknown)));
    EXPECT_NE(enumUnknown.p, colUnknown.p);
    colUnknown.Reset();

    Ref<IEnumVARIANT> e;
    ASSERT_EQ(S_OK, enumUnknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&e)));
    col.Reset();  // the enumerator alone holds the collection now
    EXPECT_EQ(L"a", NextText(e));
    EXPECT_EQ(L"b", NextText(e));
    EXPECT_EQ(L"c", NextText(e));
    EXPECT_EQ(L"<end>", NextText(e));
}

TEST_F(EnumTest, TheCollectionServesAnEnumeratorOfItsOwn) {
    Ref<IEnumVARIANT> own;
    ASSERT_EQ(S_OK, col->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&own)));
    Ref<IEnumVARIANT> separate;
    ASSERT_EQ(S_OK, NewEnum(&separate));
    EXPECT_EQ(L"a", NextText(own));
    EXPECT_EQ(L"a", NextText(separate));
    EXPECT_EQ(L"b", NextText(own));
}

TEST_F(EnumTest, NextGivesWhatIsLeftAndSaysSFalseWhenShort) {
    Ref<IEnumVARIANT> e;
    ASSERT_EQ(S_OK, NewEnum(&e));
    VARIANT items[5];
    ULONG fetched = 99;
    EXPECT_EQ(S_OK, e->Next(2, items, &fetched));
    EXPECT_EQ(2u, fetched);
    EXPECT_EQ(std::wstring(L"b"), items[1].bstrVal);
    ::VariantClear(&items[0]);
    ::VariantClear(&items[1]);

    EXPECT_EQ(S_FALSE, e->Next(5, items, &fetched));
    EXPECT_EQ(1u, fetched);
    EXPECT_EQ(VT_BSTR, items[0].vt);
    EXPECT_EQ(std::wstring(L"c"), items[0].bstrVal);
    ::VariantClear(&items[0]);

    EXPECT_EQ(S_FALSE, e->Next(1, items, &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_EQ(S_FALSE, e->Next(1, items, nullptr));
}

TEST_F(EnumTest, NextChecksItsPointers) {
    Ref<IEnumVARIANT> e;
    ASSERT_EQ(S_OK, NewEnum(&e));
    VARIANT items[2];
    ULONG fetched = 99;
    EXPECT_EQ(E_POINTER, e->Next(1, nullptr, &fetched));
    EXPECT_EQ(E_POINTER, e->Next(2, items, nullptr));
    EXPECT_EQ(E_POINTER, e->Next(0, items, nullptr));
    EXPECT_EQ(S_OK, e->Next(0, items, &fetched));
    EXPECT_EQ(0u, fetched);
    // Nothing was used up by the refused calls.
    EXPECT_EQ(S_OK, e->Next(1, items, nullptr));
    EXPECT_EQ(std::wstring(L"a"), items[0].bstrVal);
    ::VariantClear(&items[0]);
}

TEST_F(EnumTest, SkipAndReset) {
    Ref<IEnumVARIANT> e;
    ASSERT_EQ(S_OK, NewEnum(&e));
    EXPECT_EQ(S_OK, e->Skip(0));
    EXPECT_EQ(S_OK, e->Skip(2));
    EXPECT_EQ(L"c", NextText(e));
    EXPECT_EQ(S_OK, e->Reset());
    EXPECT_EQ(S_OK, e->Skip(3));
    EXPECT_EQ(L"<end>", NextText(e));
    EXPECT_EQ(S_OK, e->Reset());
    EXPECT_EQ(S_FALSE, e->Skip(4));
    EXPECT_EQ(L"<end>", NextText(e));
    EXPECT_EQ(S_FALSE, e->Skip(1));
    EXPECT_EQ(S_OK, e->Reset());
    EXPECT_EQ(L"a", NextText(e));
}

TEST_F(EnumTest, CloneIsNotImplemented) {
    Ref<IEnumVARIANT> e;
    ASSERT_EQ(S_OK, NewEnum(&e));
    IEnumVARIANT* clone = reinterpret_cast<IEnumVARIANT*>(1);
    EXPECT_EQ(E_NOTIMPL, e->Clone(&clone));
    EXPECT_EQ(nullptr, clone);
    EXPECT_EQ(E_NOTIMPL, e->Clone(nullptr));
}

TEST_F(EnumTest, RemovalDuringEnumerationEndsItInsteadOfRunningPastTheEnd) {
    Ref<IEnumVARIANT> e;
    ASSERT_EQ(S_OK, NewEnum(&e));
    ASSERT_EQ(S_OK, e->Skip(2));
    ASSERT_EQ(S_OK, col->Remove(3));
    ASSERT_EQ(S_OK, col->Remove(2));
    EXPECT_EQ(L"<end>", NextText(e));
    EXPECT_EQ(S_FALSE, e->Skip(1));
    // The cursor stands at the end of what is left; new items come next.
    Text added(L"d");
    ASSERT_EQ(S_OK, col->Add(added));
    EXPECT_EQ(L"d", NextText(e));
}

TEST_F(EnumTest, InterleavedAndNestedEnumerationsEachSeeEveryItem) {
    Ref<IEnumVARIANT> first, second;
    ASSERT_EQ(S_OK, NewEnum(&first));
    ASSERT_EQ(S_OK, NewEnum(&second));
    EXPECT_EQ(L"a", NextText(first));
    EXPECT_EQ(L"a", NextText(second));
    EXPECT_EQ(L"b", NextText(second));
    EXPECT_EQ(L"b", NextText(first));

    std::vector<std::wstring> pairs;
    Ref<IEnumVARIANT> outer;
    ASSERT_EQ(S_OK, NewEnum(&outer));
    for (std::wstring o = NextText(outer); o != L"<end>"; o = NextText(outer)) {
        Ref<IEnumVARIANT> inner;
        ASSERT_EQ(S_OK, NewEnum(&inner));
        for (std::wstring i = NextText(inner); i != L"<end>"; i = NextText(inner)) pairs.push_back(o + i);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"aa", L"ab", L"ac", L"ba", L"bb", L"bc", L"ca", L"cb", L"cc"}), pairs);
}

TEST_F(EnumTest, NullStringsComeAsNullBstrs) {
    Text null;
    ASSERT_EQ(S_OK, col->Add(null));
    Ref<IEnumVARIANT> e;
    ASSERT_EQ(S_OK, NewEnum(&e));
    ASSERT_EQ(S_OK, e->Skip(3));
    VARIANT v;
    ASSERT_EQ(S_OK, e->Next(1, &v, nullptr));
    EXPECT_EQ(VT_BSTR, v.vt);
    EXPECT_EQ(nullptr, v.bstrVal);
}

class ObjectEnumTest : public testsupport::ComTest {};

TEST_F(ObjectEnumTest, ObjectsComeWithANewReferenceAndNullItemsAsNothing) {
    Ref<IObjectCollection> col;
    ASSERT_HRESULT_SUCCEEDED(Create(CLSID_ObjectCollection, IID_IObjectCollection, &col));
    Ref<IContact> contact;
    ASSERT_HRESULT_SUCCEEDED(NewContact(L"3", &contact));
    ASSERT_EQ(S_OK, col->Add(contact));
    ASSERT_EQ(S_OK, col->Add(nullptr));
    const ULONG refs = RefCount(contact);

    Ref<IUnknown> unknown;
    ASSERT_EQ(S_OK, col->get__NewEnum(&unknown));
    Ref<IEnumVARIANT> e;
    ASSERT_EQ(S_OK, unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&e)));
    VARIANT items[3];
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, e->Next(3, items, &fetched));
    ASSERT_EQ(2u, fetched);
    EXPECT_EQ(VT_DISPATCH, items[0].vt);
    EXPECT_EQ(refs + 1, RefCount(contact));
    EXPECT_EQ(VT_DISPATCH, items[1].vt);
    EXPECT_EQ(nullptr, items[1].pdispVal);
    ::VariantClear(&items[0]);
    ::VariantClear(&items[1]);
    EXPECT_EQ(refs, RefCount(contact));
}

}  // namespace
