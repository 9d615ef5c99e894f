// StringCollection2 and ObjectCollection through the COM runtime: indexing from 1, range errors,
// copies and references, IDs, and arguments coerced through IDispatch.
#include <windows.h>

#include <initializer_list>

#include "DataTestSupport.h"
#include "resource.h"

using namespace datatest;
using testsupport::HasErrorInfo;
using testsupport::InvokeByName;
using testsupport::Narrow;
using testsupport::TakeErrorDescription;

namespace {

class StringCollectionTest : public testsupport::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        ASSERT_HRESULT_SUCCEEDED(Create(CLSID_StringCollection2, IID_IStringCollection2, &col));
    }
    void TearDown() override {
        col.Reset();
        ComTest::TearDown();
    }
    void AddAll(std::initializer_list<const wchar_t*> items) {
        for (const wchar_t* item : items) {
            Text text(item);
            ASSERT_EQ(S_OK, col->Add(text));
        }
    }
    LONG Count() {
        LONG count = -1;
        EXPECT_EQ(S_OK, col->get_Count(&count));
        return count;
    }
    std::wstring Item(LONG index) {
        Text text;
        EXPECT_EQ(S_OK, col->get_Item(index, &text));
        return text.str();
    }

    Ref<IStringCollection2> col;
};

TEST_F(StringCollectionTest, StartsEmptyAndAddsInOrderFromOne) {
    EXPECT_EQ(0, Count());
    AddAll({L"a", L"b", L"c"});
    EXPECT_EQ(3, Count());
    EXPECT_EQ(L"a", Item(1));
    EXPECT_EQ(L"c", Item(3));
}

TEST_F(StringCollectionTest, ItemOutsideTheRangeIsABareInvalidArgument) {
    AddAll({L"a", L"b", L"c"});
    for (LONG index : {0L, 4L, -1L}) {
        ClearErrorInfo();
        Text stale(L"stale");
        BSTR result = stale.b;
        EXPECT_EQ(E_INVALIDARG, col->get_Item(index, &result)) << index;
        EXPECT_EQ(nullptr, result) << "the result is cleared first";
        EXPECT_FALSE(HasErrorInfo());
        Text value(L"x");
        EXPECT_EQ(E_INVALIDARG, col->put_Item(index, value)) << index;
        EXPECT_FALSE(HasErrorInfo());
    }
    EXPECT_EQ(3, Count());
}

TEST_F(StringCollectionTest, PutAtCountReplacesTheLastItem) {
    AddAll({L"a", L"b", L"c"});
    Text value(L"z");
    EXPECT_EQ(S_OK, col->put_Item(3, value));
    EXPECT_EQ(3, Count());
    EXPECT_EQ(L"z", Item(3));
    EXPECT_EQ(L"b", Item(2));
}

TEST_F(StringCollectionTest, RemoveMovesLaterItemsUpAndRaises5014OutsideTheRange) {
    AddAll({L"a", L"b", L"c"});
    EXPECT_EQ(S_OK, col->Remove(2));
    EXPECT_EQ(2, Count());
    EXPECT_EQ(L"c", Item(2));
    for (LONG index : {0L, 3L}) {
        ClearErrorInfo();
        EXPECT_EQ(E_FAIL, col->Remove(index)) << index;
        EXPECT_EQ(Narrow(SdkText(IDS_INDEX_OUT_OF_RANGE)), Narrow(TakeErrorDescription()));
    }
}

TEST_F(StringCollectionTest, RemovingTheSameIndexTwiceFailsTheSecondTime) {
    AddAll({L"only"});
    EXPECT_EQ(S_OK, col->Remove(1));
    EXPECT_EQ(0, Count());
    EXPECT_EQ(E_FAIL, col->Remove(1));
    EXPECT_EQ(Narrow(SdkText(IDS_INDEX_OUT_OF_RANGE)), Narrow(TakeErrorDescription()));
}

TEST_F(StringCollectionTest, KeepsAndHandsOutCopies) {
    Text source(L"abc");
    ASSERT_EQ(S_OK, col->Add(source));
    source.b[0] = L'X';
    Text first, second;
    ASSERT_EQ(S_OK, col->get_Item(1, &first));
    ASSERT_EQ(S_OK, col->get_Item(1, &second));
    EXPECT_EQ(L"abc", first.str());
    EXPECT_NE(first.b, second.b);
    first.b[0] = L'Y';
    EXPECT_EQ(L"abc", Item(1));
}

TEST_F(StringCollectionTest, NullStaysNullEmptyStaysEmptyAndEmbeddedNullsSurvive) {
    Text null, empty(L""), embedded(L"a\0b", 3);
    ASSERT_EQ(S_OK, col->Add(null));
    ASSERT_EQ(S_OK, col->Add(empty));
    ASSERT_EQ(S_OK, col->Add(embedded));
    Text a, b, c;
    ASSERT_EQ(S_OK, col->get_Item(1, &a));
    ASSERT_EQ(S_OK, col->get_Item(2, &b));
    ASSERT_EQ(S_OK, col->get_Item(3, &c));
    EXPECT_EQ(nullptr, a.b);
    ASSERT_NE(nullptr, b.b);
    EXPECT_EQ(0u, ::SysStringLen(b));
    EXPECT_EQ(std::wstring(L"a\0b", 3), c.str());
}

TEST_F(StringCollectionTest, NullResultPointersAreBareInvalidArguments) {
    AddAll({L"a"});
    ClearErrorInfo();
    EXPECT_EQ(E_INVALIDARG, col->get_Count(nullptr));
    EXPECT_EQ(E_INVALIDARG, col->get_Item(1, nullptr));
    EXPECT_EQ(E_INVALIDARG, col->get__NewEnum(nullptr));
    EXPECT_FALSE(HasErrorInfo());
}

TEST_F(StringCollectionTest, ArgumentsFromIDispatchAreCoercedAndByReferenceIsFollowed) {
    VARIANT number;
    number.vt = VT_I4;
    number.lVal = 42;
    EXPECT_EQ(S_OK, InvokeByName(col, L"Add", DISPATCH_METHOD, {number}));
    Text held(L"by ref");
    VARIANT byRef;
    byRef.vt = VT_BSTR | VT_BYREF;
    byRef.pbstrVal = &held.b;
    EXPECT_EQ(S_OK, InvokeByName(col, L"Add", DISPATCH_METHOD, {byRef}));
    EXPECT_EQ(L"42", Item(1));
    EXPECT_EQ(L"by ref", Item(2));
}

class ObjectCollectionTest : public testsupport::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        ASSERT_HRESULT_SUCCEEDED(Create(CLSID_ObjectCollection, IID_IObjectCollection, &col));
    }
    void TearDown() override {
        col.Reset();
        ComTest::TearDown();
    }
    void AddContacts(std::initializer_list<const wchar_t*> ids) {
        for (const wchar_t* id : ids) {
            Ref<IContact> contact;
            ASSERT_HRESULT_SUCCEEDED(NewContact(id, &contact));
            ASSERT_EQ(S_OK, col->Add(contact));
        }
    }
    LONG Count() {
        LONG count = -1;
        EXPECT_EQ(S_OK, col->get_Count(&count));
        return count;
    }
    std::wstring IdOf(LONG index) {
        Ref<IDispatch> item;
        Ref<IContact> contact;
        Text id;
        if (col->get_Item(index, &item) != S_OK || !item) return L"<no item>";
        if (item->QueryInterface(IID_IContact, reinterpret_cast<void**>(&contact)) != S_OK) return L"<not a contact>";
        contact->get_ID(&id);
        return id.str();
    }
    void ExpectIndexError(HRESULT hr) {
        EXPECT_EQ(E_FAIL, hr);
        EXPECT_EQ(Narrow(SdkText(IDS_INDEX_OUT_OF_RANGE)), Narrow(TakeErrorDescription()));
    }

    Ref<IObjectCollection> col;
};

TEST_F(ObjectCollectionTest, ItemOneIsTheFirstAdded) {
    AddContacts({L"12", L"7"});
    EXPECT_EQ(2, Count());
    EXPECT_EQ(L"12", IdOf(1));
    EXPECT_EQ(L"7", IdOf(2));
}

TEST_F(ObjectCollectionTest, ItemOutsideTheRangeRaises5014) {
    AddContacts({L"1", L"2", L"3"});
    for (LONG index : {0L, 4L}) {
        Ref<IDispatch> item;
        ExpectIndexError(col->get_Item(index, &item));
        EXPECT_EQ(nullptr, item.p);
        Ref<IContact> other;
        ASSERT_HRESULT_SUCCEEDED(NewContact(L"x", &other));
        ExpectIndexError(col->put_Item(index, other));
        ExpectIndexError(col->Remove(index));
    }
    EXPECT_EQ(3, Count());
}

TEST_F(ObjectCollectionTest, PutAtCountSwapsTheReferences) {
    AddContacts({L"1", L"2"});
    Ref<IDispatch> old;
    ASSERT_EQ(S_OK, col->get_Item(2, &old));
    const ULONG oldRefs = RefCount(old);
    Ref<IContact> replacement;
    ASSERT_HRESULT_SUCCEEDED(NewContact(L"9", &replacement));
    const ULONG newRefs = RefCount(replacement);

    ASSERT_EQ(S_OK, col->put_Item(2, replacement));
    EXPECT_EQ(2, Count());
    EXPECT_EQ(L"9", IdOf(2));
    EXPECT_EQ(oldRefs - 1, RefCount(old));
    EXPECT_EQ(newRefs + 1, RefCount(replacement));
}

TEST_F(ObjectCollectionTest, ItemGivesANewReference) {
    AddContacts({L"1"});
    Ref<IDispatch> first;
    ASSERT_EQ(S_OK, col->get_Item(1, &first));
    const ULONG refs = RefCount(first);
    Ref<IDispatch> second;
    ASSERT_EQ(S_OK, col->get_Item(1, &second));
    EXPECT_EQ(refs + 1, RefCount(first));
}

TEST_F(ObjectCollectionTest, RemoveReleasesAndTheSecondRemoveFails) {
    Ref<IContact> contact;
    ASSERT_HRESULT_SUCCEEDED(NewContact(L"5", &contact));
    const ULONG refs = RefCount(contact);
    ASSERT_EQ(S_OK, col->Add(contact));
    EXPECT_EQ(refs + 1, RefCount(contact));
    EXPECT_EQ(S_OK, col->Remove(1));
    EXPECT_EQ(0, Count());
    EXPECT_EQ(refs, RefCount(contact));
    ExpectIndexError(col->Remove(1));
}

TEST_F(ObjectCollectionTest, ReleasingTheCollectionReleasesItsItems) {
    Ref<IContact> contact;
    ASSERT_HRESULT_SUCCEEDED(NewContact(L"5", &contact));
    const ULONG refs = RefCount(contact);
    ASSERT_EQ(S_OK, col->Add(contact));
    ASSERT_EQ(S_OK, col->Add(contact));
    EXPECT_EQ(refs + 2, RefCount(contact));
    col.Reset();
    EXPECT_EQ(refs, RefCount(contact));
}

TEST_F(ObjectCollectionTest, NullItemsAreKept) {
    ASSERT_EQ(S_OK, col->Add(nullptr));
    EXPECT_EQ(1, Count());
    Ref<IDispatch> item;
    EXPECT_EQ(S_OK, col->get_Item(1, &item));
    EXPECT_EQ(nullptr, item.p);
}

TEST_F(ObjectCollectionTest, AddThroughIDispatchTakesObjectsAndNothingButRefusesOtherValues) {
    VARIANT text;
    text.vt = VT_BSTR;
    text.bstrVal = ::SysAllocString(L"not an object");
    EXPECT_EQ(DISP_E_TYPEMISMATCH, InvokeByName(col, L"Add", DISPATCH_METHOD, {text}));
    ::SysFreeString(text.bstrVal);
    EXPECT_EQ(0, Count());

    Ref<IContact> contact;
    ASSERT_HRESULT_SUCCEEDED(NewContact(L"8", &contact));
    IDispatch* held = contact;
    VARIANT byRef;
    byRef.vt = VT_DISPATCH | VT_BYREF;
    byRef.ppdispVal = &held;
    EXPECT_EQ(S_OK, InvokeByName(col, L"Add", DISPATCH_METHOD, {byRef}));
    VARIANT nothing;
    nothing.vt = VT_DISPATCH;
    nothing.pdispVal = nullptr;
    EXPECT_EQ(S_OK, InvokeByName(col, L"Add", DISPATCH_METHOD, {nothing}));
    EXPECT_EQ(2, Count());
    EXPECT_EQ(L"8", IdOf(1));
}

TEST_F(ObjectCollectionTest, IDsJoinsTheIdentifiersInOrder) {
    Text ids;
    EXPECT_EQ(S_OK, col->get_IDs(&ids));
    ASSERT_NE(nullptr, ids.b);
    EXPECT_EQ(L"", ids.str());

    AddContacts({L"12", L"7", L"30"});
    EXPECT_EQ(S_OK, col->get_IDs(&ids));
    EXPECT_EQ(L"12,7,30", ids.str());
}

TEST_F(ObjectCollectionTest, IDsReadsGroupsToo) {
    AddContacts({L"12"});
    Ref<IContactGroup> group;
    ASSERT_HRESULT_SUCCEEDED(Create(CLSID_ContactGroup, IID_IContactGroup, &group));
    Text id(L"g4");
    ASSERT_EQ(S_OK, group->put_ID(id));
    ASSERT_EQ(S_OK, col->Add(group));
    Text ids;
    EXPECT_EQ(S_OK, col->get_IDs(&ids));
    EXPECT_EQ(L"12,g4", ids.str());
}

TEST_F(ObjectCollectionTest, IDsRaises5019ForAnItemWithoutIdentifier) {
    AddContacts({L"12"});
    Ref<ISMSMessage2> message;
    ASSERT_HRESULT_SUCCEEDED(Create(CLSID_SMSMessage2, IID_ISMSMessage2, &message));
    ASSERT_EQ(S_OK, col->Add(message));
    Text stale(L"stale");
    BSTR ids = stale.b;
    EXPECT_EQ(E_FAIL, col->get_IDs(&ids));
    EXPECT_EQ(nullptr, ids);
    EXPECT_EQ(Narrow(SdkText(IDS_ITEM_WITHOUT_ID)), Narrow(TakeErrorDescription()));
}

TEST_F(ObjectCollectionTest, IDsRaises5019ForANullItem) {
    AddContacts({L"12"});
    ASSERT_EQ(S_OK, col->Add(nullptr));
    Text ids;
    EXPECT_EQ(E_FAIL, col->get_IDs(&ids));
    EXPECT_EQ(Narrow(SdkText(IDS_ITEM_WITHOUT_ID)), Narrow(TakeErrorDescription()));
}

// An item whose identifier cannot be read.
class BrokenItem : public IDispatch, public IObjectWithID {
public:
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *ppv = static_cast<IDispatch*>(this);
        } else if (iid == IID_IObjectWithID) {
            *ppv = static_cast<IObjectWithID*>(this);
        } else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }
    STDMETHOD(GetTypeInfoCount)(UINT*) override { return E_NOTIMPL; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHOD(get_ID)(BSTR* id) override {
        *id = nullptr;
        return E_ACCESSDENIED;
    }
    STDMETHOD(put_ID)(BSTR) override { return E_NOTIMPL; }
    ULONG refs = 1;
};

TEST_F(ObjectCollectionTest, IDsPassesOnTheFailureOfReadingAnIdentifier) {
    BrokenItem item;
    ASSERT_EQ(S_OK, col->Add(&item));
    Text ids;
    EXPECT_EQ(E_ACCESSDENIED, col->get_IDs(&ids));
    col.Reset();
    EXPECT_EQ(1u, item.refs);
}

TEST_F(ObjectCollectionTest, NullResultPointersAreBareInvalidArguments) {
    AddContacts({L"1"});
    ClearErrorInfo();
    EXPECT_EQ(E_INVALIDARG, col->get_Count(nullptr));
    EXPECT_EQ(E_INVALIDARG, col->get_Item(1, nullptr));
    EXPECT_EQ(E_INVALIDARG, col->get_IDs(nullptr));
    EXPECT_EQ(E_INVALIDARG, col->get__NewEnum(nullptr));
    EXPECT_FALSE(HasErrorInfo());
}

}  // namespace
