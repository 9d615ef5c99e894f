' Every class of the server by both of its ProgIDs, and an automation error as a script sees it.
Dim progIds, i, versioned, independent, expectedType, obj

progIds = Array( _
    Array("Tarvock.SendService.2", "Tarvock.SendService2", "ISendService2"), _
    Array("Tarvock.StringCollection.2", "Tarvock.StringCollection2", "IStringCollection2"), _
    Array("Tarvock.InboxService.2", "Tarvock.InboxService2", "IInboxService2"), _
    Array("Tarvock.AccountService.1", "Tarvock.AccountService", "IAccountService"), _
    Array("Tarvock.SMSMessage.2", "Tarvock.SMSMessage2", "ISMSMessage2"), _
    Array("Tarvock.ContactService.1", "Tarvock.ContactService", "IContactService"), _
    Array("Tarvock.SignupService.1", "Tarvock.SignupService", "ISignupService"), _
    Array("Tarvock.ObjectCollection.1", "Tarvock.ObjectCollection", "IObjectCollection"), _
    Array("Tarvock.Contact.1", "Tarvock.Contact", "IContact"), _
    Array("Tarvock.ContactGroup.1", "Tarvock.ContactGroup", "IContactGroup"), _
    Array("Tarvock.TestService.1", "Tarvock.TestService", "ITestService"), _
    Array("Tarvock.SignupCompletionElements.1", "Tarvock.SignupCompletionElements", "ISignupCompletionElements"), _
    Array("Tarvock.AccountState.1", "Tarvock.AccountState", "IAccountState"), _
    Array("Tarvock.MessengerService.1", "Tarvock.MessengerService", "IMessengerService"))

On Error Resume Next
For i = 0 To UBound(progIds)
    versioned = progIds(i)(0)
    independent = progIds(i)(1)
    expectedType = progIds(i)(2)

    Set obj = Nothing
    Set obj = CreateObject(versioned)
    AssertNoError "create " & versioned
    AssertEqual "type of " & versioned, expectedType, TypeName(obj)

    Set obj = Nothing
    Set obj = CreateObject(independent)
    AssertNoError "create " & independent
    AssertEqual "type of " & independent, expectedType, TypeName(obj)
Next

' A failing call arrives as Err.Number and Err.Description.
Dim collection
Set collection = CreateObject("Tarvock.ObjectCollection")
collection.Remove 1
AssertError "remove from an empty collection", &H80004005, "The index is outside the collection."

Dim strings
Set strings = CreateObject("Tarvock.StringCollection2")
strings.Add "first"
AssertNoError "add a string"
AssertEqual "count after add", 1, strings.Count
AssertEqual "default member", "first", strings(1)
