// Building SOAP requests from the satellite library's templates and reading the responses:
// element values by tag name, identifier lists, the enumerations' wire texts and XML dates.
// Every function but LoadXMLDocFromResource raises its failures (Errors.h).
#pragma once

#include <windows.h>

#include <atlbase.h>

#include <string>

#include "MsXml.h"
#include "TarvockLib.h"

class CXmlUtils {
public:
    // Loads "XML" resource id into a new DOM document; S_OK and the document, or the failure.
    static HRESULT LoadXMLDocFromResource(UINT id, IXMLDOMDocument** document);
    // As above, raising the failure.
    static CComPtr<IXMLDOMDocument> LoadTemplate(UINT id);

    // The first element whose qualified name is tag, in document order; null when none.
    static CComPtr<IXMLDOMElement> FindElementByTagName(IXMLDOMDocument* document, const wchar_t* tag);
    // As above; raises 5017 with the tag when there is none.
    static CComPtr<IXMLDOMElement> RequireElement(IXMLDOMDocument* document, const wchar_t* tag);

    // Writes the value of an element that holds exactly one child node (else 5001); a missing
    // element raises 5017; a null text writes an empty value.
    static void SetElementText(IXMLDOMDocument* document, const wchar_t* tag, const wchar_t* text);
    static void SetElementBool(IXMLDOMDocument* document, const wchar_t* tag, VARIANT_BOOL value);
    static void SetElementLong(IXMLDOMDocument* document, const wchar_t* tag, long value);

    // The text of the element and its descendants; null when the element is missing.
    static CComBSTR GetElementText(IXMLDOMDocument* document, const wchar_t* tag);
    // 0 when the element is missing; otherwise its typed value through CoerceToLong.
    static long GetElementLong(IXMLDOMDocument* document, const wchar_t* tag);
    // VT_I2 sign-extended, VT_I4 as it is, VT_BSTR read by LeadingInteger; other types raise 5007.
    static long CoerceToLong(const VARIANT& value);
    // Leading blanks, an optional sign and the digits before the first other character; 0 when
    // there are no digits.
    static long LeadingInteger(const wchar_t* text);

    // A new element named name in the parent's namespace, holding one text node, appended as
    // the parent's last child.
    static void AppendTextElement(IXMLDOMDocument* document, IXMLDOMNode* parent, const wchar_t* name,
                                  const wchar_t* text);
    static void RemoveAllChildren(IXMLDOMNode* element);
    // Replaces the element's children by one "string" child per item of the comma-separated list
    // (runs of commas count as one, empty items are dropped, no trimming); null writes nothing.
    static void WriteIDList(IXMLDOMDocument* document, const wchar_t* tag, const wchar_t* list);
    // A new StringCollection2 with the text of each child of the element (5017 when missing).
    static CComPtr<IStringCollection2> ReadStringCollection(IXMLDOMDocument* document, const wchar_t* tag);
    // The text of each child node of element, into a new StringCollection2.
    static CComPtr<IStringCollection2> StringCollectionFromChildren(IXMLDOMNode* element);

    // "Line: <n> Col: <n> Reason: <reason>" of the document's parse error; empty when there is none.
    static std::wstring FormatParseError(IXMLDOMDocument* document);
    // A new, empty DOM document (5005 when it cannot be created).
    static CComPtr<IXMLDOMDocument> CreateDocument();
    // Whether the document holds a document element.
    static bool HasDocumentElement(IXMLDOMDocument* document);
    // Parses text into document; false when it is not XML or holds no document element.
    static bool ParseText(IXMLDOMDocument* document, BSTR text);
    // Parses text into document; a text that is not XML, or holds no document element, raises
    // E_FAIL with the parse error's text.
    static void LoadText(IXMLDOMDocument* document, BSTR text);
    // The document's XML text.
    static CComBSTR XmlText(IXMLDOMDocument* document);

    // "YYYY-MM-DDTHH:MM:SS.fffffff+hh:mm" with the local offset from UTC in effect at that time.
    static std::wstring SystemTimeToXmlDateTime(const SYSTEMTIME& time);
    // The offset of local time from UTC, in minutes, in effect at the local time given.
    static long LocalOffsetMinutes(const SYSTEMTIME& localTime);
    // Local midnight of the date's day, written as above.
    static std::wstring DateToXmlDateTime(DATE date);
    // The clock time as written (the zone is ignored); a text that does not match gives 0, fields
    // that form no date raise 5009 with the text.
    static DATE XmlDateTimeToDate(const wchar_t* text);

    // Wire texts of the enumerations.
    static const wchar_t* MessageTypeText(MESSAGE_TYPE type);  // null for values outside 1-4
    static MESSAGE_TYPE MessageTypeFromText(const wchar_t* text);
    static MESSAGE_STATUS MessageStatusFromText(const wchar_t* text);
    static const wchar_t* ContactTypeText(long type);
    static CONTACT_TYPE ContactTypeFromText(const wchar_t* text);
    static const wchar_t* ContactGroupTypeText(long type);
    static CONTACT_GROUP_TYPE ContactGroupTypeFromText(const wchar_t* text);

    // The local name (without a prefix) and the text of a node.
    static CComBSTR LocalName(IXMLDOMNode* node);
    static CComBSTR NodeText(IXMLDOMNode* node);
};
