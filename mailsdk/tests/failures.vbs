' Failures of the address-book server reach a script as automation errors with descriptions;
' a missing book name is a warning that returns Nothing.
Dim book, names, contacts
Set book = CreateObject("TarvockMailSDK.AddressBook")
On Error Resume Next

names = book.AddressBookNames
AssertError "listing fails", &H80040115, "The address books could not be listed (MAPI error 0x80040115)."

Set contacts = book.SelectContacts(0)
AssertError "the dialog fails", &H80004005, "The chosen recipients could not be read (MAPI error 0x80004005)."

Set contacts = book.Contacts("")
AssertNoError "an empty name is no script error"
AssertTrue "an empty name gives Nothing", contacts Is Nothing

Set contacts = book.Contacts("Work")
AssertNoError "a book that cannot be read is no script error"
AssertTrue "and gives Nothing", contacts Is Nothing
