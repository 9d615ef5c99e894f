' Creates every class of the SDK by its ProgID and prints what it is.
Option Explicit
Dim progIds, progId, obj, created
progIds = Array("Tarvock.SendService2", "Tarvock.StringCollection2", "Tarvock.InboxService2", _
    "Tarvock.AccountService", "Tarvock.SMSMessage2", "Tarvock.ContactService", "Tarvock.SignupService", _
    "Tarvock.ObjectCollection", "Tarvock.Contact", "Tarvock.ContactGroup", "Tarvock.TestService", _
    "Tarvock.SignupCompletionElements", "Tarvock.AccountState", "Tarvock.MessengerService")
created = 0
On Error Resume Next
For Each progId In progIds
    Set obj = CreateObject(progId)
    If Err.Number = 0 Then
        WScript.Echo "  " & progId & " -> " & TypeName(obj)
        created = created + 1
    Else
        WScript.Echo "  " & progId & " FAILED: " & Err.Description
        Err.Clear
    End If
Next
WScript.Echo created & " of " & (UBound(progIds) + 1) & " SDK classes created."
