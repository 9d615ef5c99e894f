// The provider's parts, linked in directly: the vCard reader, the card-to-property mapping,
// entry identifiers and the property bag's typing of texts.
#include <windows.h>
#include <mapix.h>

#include <gtest/gtest.h>

#include "EntryId.h"
#include "PropertyBag.h"
#include "Store.h"
#include "VCard.h"

namespace {

using namespace mapiprovider;

TEST(VCardReader, ReadsEveryCardJoinsFoldedLinesAndDropsGroups) {
    const std::string text =
        "\xEF\xBB\xBF"
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\n  Lee\r\nitem1.TEL;type=CELL;type=pref:+44 7700\r\nEND:VCARD\r\n"
        "stray line\r\n"
        "begin:vcard\nfn:Bob\nEND:VCARD\n";
    const std::vector<CVCard> cards = ParseVCards(text);
    ASSERT_EQ(2u, cards.size());
    EXPECT_EQ(L"Ann Lee", cards[0].First("FN")->Text());
    const CVCardProperty* tel = cards[0].First("TEL");
    ASSERT_NE(nullptr, tel);
    EXPECT_TRUE(tel->HasType("cell"));
    EXPECT_TRUE(tel->HasType("PREF"));
    EXPECT_FALSE(tel->HasType("HOME"));
    EXPECT_EQ(L"Bob", cards[1].First("FN")->Text());
}

TEST(VCardReader, ReadsVersion21TypesAndQuotedParameters) {
    const std::vector<CVCard> cards =
        ParseVCards("BEGIN:VCARD\r\nVERSION:2.1\r\nTEL;CELL;VOICE:0770\r\nTEL;TYPE=\"work,voice\":0207\r\nEND:VCARD\r\n");
    ASSERT_EQ(1u, cards.size());
    const std::vector<const CVCardProperty*> tels = cards[0].All("TEL");
    ASSERT_EQ(2u, tels.size());
    EXPECT_TRUE(tels[0]->HasType("CELL"));
    EXPECT_TRUE(tels[1]->HasType("WORK"));
    EXPECT_TRUE(tels[1]->HasType("VOICE"));
}

TEST(VCardReader, UnescapesStructuredValues) {
    const std::vector<CVCard> cards =
        ParseVCards("BEGIN:VCARD\r\nADR:;;1 High St\\nFlat 2\\, rear;Leeds;;LS1\\;1AA;UK\r\nEND:VCARD\r\n");
    const std::vector<std::wstring> parts = cards.at(0).First("ADR")->Components();
    ASSERT_EQ(7u, parts.size());
    EXPECT_EQ(L"1 High St\r\nFlat 2, rear", parts[2]);
    EXPECT_EQ(L"Leeds", parts[3]);
    EXPECT_EQ(L"", parts[4]);
    EXPECT_EQ(L"LS1;1AA", parts[5]);
}

TEST(CardProperties, MapsNamesNumbersAddressAndKind) {
    const std::vector<CVCard> cards = ParseVCards(
        "BEGIN:VCARD\r\nN:Lee;Ann;;;\r\nTEL;TYPE=HOME:111\r\nTEL;TYPE=CELL:222\r\nTEL;TYPE=CELL:333\r\n"
        "ADR;TYPE=WORK:;;Work St;A;;;\r\nADR;TYPE=HOME,PREF:;;Home St;B;;;\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nFN:Team\r\nKIND:group\r\nEND:VCARD\r\n");
    ULONG type = 0;
    const CPropertyBag ann = ContactProperties(cards.at(0), &type);
    EXPECT_EQ(static_cast<ULONG>(MAPI_MAILUSER), type);
    EXPECT_EQ(L"Ann Lee", ann.Text(0x3001)) << "the display name is made from the name when FN is missing";
    EXPECT_EQ(L"222", ann.Text(0x3A1C)) << "the first mobile number";
    EXPECT_EQ(L"111", ann.Text(0x3A09));
    EXPECT_FALSE(ann.Has(0x3A1A)) << "no preferred telephone";
    EXPECT_EQ(L"Home St", ann.Text(0x3A29)) << "the preferred address";
    EXPECT_EQ(L"B", ann.Text(0x3A27));
    EXPECT_FALSE(ann.Has(0x3A28)) << "empty parts are left out";

    ContactProperties(cards.at(1), &type);
    EXPECT_EQ(static_cast<ULONG>(MAPI_DISTLIST), type);
}

TEST(EntryIdentifiers, RoundTripAndRejectForeignBytes) {
    const std::vector<BYTE> bytes = CEntryId::ForEntry(L"Work", L"a b.vcf", 7).Encode();
    CEntryId id;
    ASSERT_TRUE(CEntryId::Decode(static_cast<ULONG>(bytes.size()), reinterpret_cast<const ENTRYID*>(bytes.data()), &id));
    EXPECT_EQ(EntryKind::Entry, id.kind);
    EXPECT_EQ(L"Work", id.book);
    EXPECT_EQ(L"a b.vcf", id.file);
    EXPECT_EQ(7u, id.index);

    ASSERT_TRUE(CEntryId::Decode(0, nullptr, &id));
    EXPECT_EQ(EntryKind::Root, id.kind);

    std::vector<BYTE> foreign = bytes;
    foreign[6] ^= 0xFF;
    EXPECT_FALSE(CEntryId::Decode(static_cast<ULONG>(foreign.size()), reinterpret_cast<const ENTRYID*>(foreign.data()), &id));
    EXPECT_FALSE(CEntryId::Decode(5, reinterpret_cast<const ENTRYID*>(bytes.data()), &id));
}

TEST(PropertyBag, TypesTextsAsAskedAndAnsiOnlyWhereTheCodePageHoldsThem) {
    CPropertyBag bag;
    bag.Set(CPropValue::Text(0x3001, L"Plain"));
    bag.Set(CPropValue::Text(0x3A06, L"\x0397\x03BB"));
    bag.Set(CPropValue::Long(0x0FFE, 6));
    bag.Set(CPropValue::Text(0x3001, L"Replaced"));
    ASSERT_EQ(3u, bag.Values().size());

    ULONG count = 0;
    LPSPropValue values = nullptr;
    ASSERT_EQ(S_OK, bag.GetProps(nullptr, 0, &count, &values));
    ASSERT_EQ(3u, count);
    EXPECT_EQ(PROP_TAG(PT_STRING8, 0x3001), values[0].ulPropTag);
    EXPECT_STREQ("Replaced", values[0].Value.lpszA);
    EXPECT_EQ(PROP_TAG(PT_UNICODE, 0x3A06), values[1].ulPropTag);
    EXPECT_EQ(PROP_TAG(PT_LONG, 0x0FFE), values[2].ulPropTag);
    MAPIFreeBuffer(values);

    ASSERT_EQ(S_OK, bag.GetProps(nullptr, MAPI_UNICODE, &count, &values));
    EXPECT_EQ(PROP_TAG(PT_UNICODE, 0x3001), values[0].ulPropTag);
    MAPIFreeBuffer(values);

    SizedSPropTagArray(3, tags) = {3, {PROP_TAG(PT_UNSPECIFIED, 0x3001), PROP_TAG(PT_BINARY, 0x0FFE), PROP_TAG(PT_STRING8, 0x3A06)}};
    ASSERT_EQ(MAPI_W_ERRORS_RETURNED, bag.GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, &values));
    EXPECT_EQ(PROP_TAG(PT_STRING8, 0x3001), values[0].ulPropTag);
    EXPECT_EQ(PROP_TAG(PT_ERROR, 0x0FFE), values[1].ulPropTag) << "a type other than the value's";
    EXPECT_EQ(PROP_TAG(PT_STRING8, 0x3A06), values[2].ulPropTag) << "asked for ANSI, the text is converted";
    MAPIFreeBuffer(values);
}

}  // namespace
