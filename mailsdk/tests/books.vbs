' Lists the address books and their contacts through the address-book server, as a script
' sees them, and picks recipients in the (scripted) address dialog.
Dim book, names, i, contacts, contact, listed
Set book = CreateObject("TarvockMailSDK.AddressBook")

names = book.AddressBookNames
AssertEqual "lower bound", 0, LBound(names)
AssertEqual "book count", 3, UBound(names) + 1
AssertEqual "personal book first", "Personal Address Book", names(0)
AssertEqual "then the hierarchy", "Directory", names(1)
AssertEqual "last book", "Work", names(2)

For i = 0 To UBound(names)
    Set contacts = book.Contacts(names(i))
    WScript.Echo names(i) & ": " & contacts.Count & " contact(s)"
    For Each contact In contacts
        WScript.Echo "  " & contact.FirstName & " " & contact.LastName & " " & contact.MobileNumber
    Next
Next

Set contacts = book.Contacts("Personal Address Book")
AssertEqual "personal contacts with a mobile number", 1, contacts.Count
AssertEqual "first name", "Zoe", contacts.Item(1).FirstName
AssertEqual "last name", "Hill", contacts.Item(1).LastName
AssertEqual "mobile number", "+447700900001", contacts.Item(1).MobileNumber
AssertEqual "contact type", 0, contacts.Item(1).ContactType
AssertEqual "book contacts carry no e-mail address", "", contacts.Item(1).EmailAddress

Set contacts = book.Contacts("Work")
AssertEqual "one contact per number", 2, contacts.Count
listed = ""
For Each contact In contacts
    listed = listed & contact.FirstName & ";"
Next
AssertEqual "work contacts in table order", "Bob;Cy;", listed

Set contacts = book.Contacts("Directory")
AssertEqual "numbers read from the entries", 1, contacts.Count
AssertEqual "directory contact", "+447700900004", contacts.Item(1).MobileNumber

Set contacts = book.Contacts("Nowhere")
AssertTrue "an unknown book is Nothing", contacts Is Nothing
Set contacts = book.Contacts("Archive")
AssertTrue "a container of containers is not listed", contacts Is Nothing

Set contacts = book.SelectContacts(0)
AssertEqual "picked", 2, contacts.Count
Set contact = contacts.Item(1)
AssertEqual "quick name", "Zed", contact.QuickName
AssertEqual "telephone", "0113 496 0001", contact.TelephoneNumber
AssertEqual "street 1", "1 High Street" & vbCr, contact.StreetAddress1
AssertEqual "street 2", "Flat 2", contact.StreetAddress2
AssertEqual "town", "Leeds", contact.Town
AssertEqual "county", "West Yorkshire", contact.County
AssertEqual "postcode", "LS1 1AA", contact.Postcode
AssertEqual "country", "United Kingdom", contact.Country
AssertEqual "e-mail", "zoe@example.org", contact.EmailAddress
AssertEqual "second pick", "Yan", contacts.Item(2).FirstName
AssertEqual "picks keep entries without a mobile number", "", contacts.Item(2).MobileNumber
AssertEqual "both picks are SDK contacts, their IDs empty", ",", contacts.IDs
