' The collections, contacts and groups as a script sees them: default Item, Count, For Each
' (nested and with removal), IDs, range errors, and the contact and group properties.
Dim col, strings, c, g, x, y, pairs, visited, value

Function NewContact(id, quickName)
    Dim contact
    Set contact = CreateObject("Tarvock.Contact")
    contact.ID = id
    contact.QuickName = quickName
    Set NewContact = contact
End Function

Sub AddByReference(collection, ByRef item)
    collection.Add item
End Sub

' Object collection
Set col = CreateObject("Tarvock.ObjectCollection")
AssertEqual "new object collection is empty", 0, col.Count
col.Add NewContact("12", "ann")
col.Add NewContact("7", "bob")
Set c = NewContact("30", "cy")
AddByReference col, c
AssertEqual "count after three adds", 3, col.Count
AssertEqual "default member is Item", "bob", col(2).QuickName
AssertEqual "Item by name", "ann", col.Item(1).QuickName
AssertEqual "IDs", "12,7,30", col.IDs

pairs = ""
For Each x In col
    For Each y In col
        pairs = pairs & x.ID & "-" & y.ID & " "
    Next
Next
AssertEqual "nested For Each sees every pair", "12-12 12-7 12-30 7-12 7-7 7-30 30-12 30-7 30-30 ", pairs

pairs = ""
For Each x In col
    pairs = pairs & x.ID & " "
Next
AssertEqual "a second For Each starts at the first item", "12 7 30 ", pairs

On Error Resume Next
Set x = col(0)
AssertError "Item 0", &H80004005, "outside"
Set x = col(4)
AssertError "Item Count+1", &H80004005, "outside"
col.Remove 4
AssertError "Remove Count+1", &H80004005, "outside"
col.Add "text"
AssertTrue "Add of a text fails", Err.Number <> 0
Err.Clear
AssertEqual "a refused Add adds nothing", 3, col.Count
col.Add Nothing
AssertNoError "Add Nothing"
value = col.IDs
AssertError "IDs with a null item", &H80004005, "identifier"
On Error GoTo 0
col.Remove 4
AssertEqual "Remove the null item", 3, col.Count

visited = 0
For Each x In col
    visited = visited + 1
    col.Remove 1
Next
AssertEqual "For Each while removing ends early", 2, visited
AssertEqual "one item left", 1, col.Count

' String collection
Set strings = CreateObject("Tarvock.StringCollection2")
strings.Add "a"
strings.Add 2
value = "c"
AddByReference strings, value
AssertEqual "string count", 3, strings.Count
AssertEqual "number added as text", "2", strings(2)
strings(3) = "z"
AssertEqual "Item put at Count", "z", strings(3)
AssertEqual "Item put keeps Count", 3, strings.Count
pairs = ""
For Each x In strings
    For Each y In strings
        pairs = pairs & x & y & " "
    Next
Next
AssertEqual "nested For Each over strings", "aa a2 az 2a 22 2z za z2 zz ", pairs
On Error Resume Next
value = strings(0)
AssertEqual "string Item 0 is an invalid argument", &H80070057, Err.Number
AssertEqual "string Item 0 has no description", "", Err.Description
Err.Clear
value = strings(4)
AssertEqual "string Item Count+1 is an invalid argument", &H80070057, Err.Number
AssertEqual "string Item Count+1 has no description", "", Err.Description
Err.Clear
strings.Remove 1
strings.Remove 1
strings.Remove 1
AssertNoError "remove all"
strings.Remove 1
AssertError "Remove on an empty collection", &H80004005, "outside"
On Error GoTo 0

' Contact properties
Set c = CreateObject("Tarvock.Contact")
AssertEqual "new contact type", 0, c.ContactType
AssertEqual "new contact quick name", "", c.QuickName
c.ID = "id1"
c.QuickName = "qn"
c.FirstName = "First"
c.LastName = "Last"
c.TelephoneNumber = "+44 1"
c.MobileNumber = "+44 7"
c.StreetAddress1 = "1 Road"
c.StreetAddress2 = "Flat 2"
c.Town = "Town"
c.County = "County"
c.Postcode = "AB1 2CD"
c.Country = "Country"
c.EmailAddress = "a@b.c"
c.ContactType = 1
AssertEqual "ID", "id1", c.ID
AssertEqual "QuickName", "qn", c.QuickName
AssertEqual "FirstName", "First", c.FirstName
AssertEqual "LastName", "Last", c.LastName
AssertEqual "TelephoneNumber", "+44 1", c.TelephoneNumber
AssertEqual "MobileNumber", "+44 7", c.MobileNumber
AssertEqual "StreetAddress1", "1 Road", c.StreetAddress1
AssertEqual "StreetAddress2", "Flat 2", c.StreetAddress2
AssertEqual "Town", "Town", c.Town
AssertEqual "County", "County", c.County
AssertEqual "Postcode", "AB1 2CD", c.Postcode
AssertEqual "Country", "Country", c.Country
AssertEqual "EmailAddress", "a@b.c", c.EmailAddress
AssertEqual "ContactType", 1, c.ContactType
c.Town = ""
AssertEqual "empty Town", "", c.Town
c.FirstName = "  padded  "
AssertEqual "texts are not trimmed", "  padded  ", c.FirstName

' Group properties
Set g = CreateObject("Tarvock.ContactGroup")
AssertEqual "new group type", 0, g.GroupType
g.ID = "g1"
g.Name = "Friends"
g.Description = "People I know"
g.GroupType = 1
AssertEqual "group ID", "g1", g.ID
AssertEqual "group Name", "Friends", g.Name
AssertEqual "group Description", "People I know", g.Description
AssertEqual "group GroupType", 1, g.GroupType
g.Description = ""
AssertEqual "empty Description", "", g.Description

Set col = CreateObject("Tarvock.ObjectCollection")
col.Add c
col.Add g
AssertEqual "IDs of a contact and a group", "id1,g1", col.IDs
