' The SDK's acceptance from a script, against a fresh stand-in: the server is registered and its
' service objects are created by ProgID, a user signs in (Initialise and GetAccountState), sends
' to one and to many recipients, asks for message status, reads and deletes received messages,
' reads the account's state and features, keeps contacts and groups on the service, gets the
' current program version, and every failure arrives as an automation error with a description.
Dim url, setup, progId, obj, sender, inbox, account, contacts, version, signup
Dim state, id, ids, status, list, m, own, limit, c, g, groupId, latest, includeMembers

Const TEXT_TYPE = 1
Const QUEUED = 1
Const SENT = 2
Const DELIVERED = 3
Const FAILED = 4
Const OWN_NUMBER = "447700900101"

Function SignedIn(progId, user, password, accountReference)
    Dim service
    Set service = CreateObject(progId)
    service.Initialise user, password, accountReference
    Set SignedIn = service
End Function

Function IsGuid(text)
    IsGuid = (Len(text) = 36 And Mid(text, 9, 1) = "-" And Mid(text, 24, 1) = "-")
End Function

url = StandinUrl()
AssertTrue "the stand-in's address is given", Len(url) > 0

' 1. The server is registered: every class by both ProgIDs.
On Error Resume Next
For Each progId In Array("Tarvock.SendService.2", "Tarvock.SendService2", "Tarvock.InboxService.2", _
        "Tarvock.InboxService2", "Tarvock.AccountService.1", "Tarvock.AccountService", _
        "Tarvock.ContactService.1", "Tarvock.ContactService", "Tarvock.SignupService.1", "Tarvock.SignupService", _
        "Tarvock.TestService.1", "Tarvock.TestService", "Tarvock.MessengerService.1", "Tarvock.MessengerService", _
        "Tarvock.StringCollection2", "Tarvock.ObjectCollection", "Tarvock.SMSMessage2", "Tarvock.Contact", _
        "Tarvock.ContactGroup", "Tarvock.AccountState", "Tarvock.SignupCompletionElements")
    Set obj = Nothing
    Set obj = CreateObject(progId)
    AssertNoError "create " & progId
Next
On Error GoTo 0

Set setup = CreateObject("Tarvock.TestService")
setup.SetSoapEndPoints url, url
setup.SetupAccountTests

' 2. Sign in: credentials, then the account's state.
Set account = SignedIn("Tarvock.AccountService", "test", "test", "TEST01")
Set state = account.GetAccountState
AssertEqual "state ID", "a0000000-0000-4000-8000-000000000001", state.ID
AssertEqual "state reference", "TEST01", state.Reference
AssertEqual "state address", OWN_NUMBER, state.Address
AssertEqual "state service alias", "TestAlias", state.ServiceAlias
AssertEqual "state message limit", 100, state.MessageLimit
AssertEqual "state features", 3, state.Features
AssertEqual "user names ignore case", "TEST01", SignedIn("Tarvock.AccountService", "TEST", "test", "test01").GetAccountState.Reference

' 3. The account's features and limit.
AssertEqual "GetAccountFeatures", 3, account.GetAccountFeatures
AssertEqual "GetMessageLimit", 100, account.GetMessageLimit
AssertEqual "features of an account without any", 0, _
    SignedIn("Tarvock.AccountService", "plain", "plain", "PLAIN01").GetAccountFeatures
AssertEqual "features of an inbox-only account", 2, _
    SignedIn("Tarvock.AccountService", "other", "other", "OTHER01").GetAccountFeatures

' 4. Send to one recipient and to many.
Set sender = SignedIn("Tarvock.SendService2", "test", "test", "TEST01")
id = sender.SendMessage("447700900301", "Hello from the acceptance script", TEXT_TYPE)
AssertTrue "SendMessage gives a message identifier", IsGuid(id)
Set ids = sender.SendMessageMultipleRecipients("447700900301,447700900302,447700900303", "To three", TEXT_TYPE)
AssertEqual "one identifier per recipient", 3, ids.Count
AssertTrue "identifiers differ", ids(1) <> ids(2) And ids(2) <> ids(3)
id = sender.SendMessageFull("TestAlias", "+447700900304", "With the alias", TEXT_TYPE, 60)
AssertTrue "SendMessageFull", IsGuid(id)
Set ids = sender.SendMessageMultipleRecipientsFull(OWN_NUMBER, "447700900305,447700900306", "Two more", TEXT_TYPE, 0)
AssertEqual "SendMessageMultipleRecipientsFull", 2, ids.Count
AssertEqual "each recipient is charged", 93, account.GetMessageLimit

' 5. Message status.
AssertEqual "a new message is queued", QUEUED, sender.GetMessageStatus(id)
AssertEqual "status Queued", QUEUED, sender.GetMessageStatus("10000000-0000-4000-8000-000000000001")
AssertEqual "status Sent", SENT, sender.GetMessageStatus("10000000-0000-4000-8000-000000000002")
AssertEqual "status Delivered", DELIVERED, sender.GetMessageStatus("{10000000-0000-4000-8000-000000000003}")
AssertEqual "status Failed", FAILED, sender.GetMessageStatus("10000000-0000-4000-8000-000000000004")

' 6. Received messages: read, a message to the account's own number arrives, delete.
Set inbox = SignedIn("Tarvock.InboxService2", "test", "test", "TEST01")
Set list = inbox.GetMessages
AssertEqual "GetMessages", 5, list.Count
AssertEqual "newest first", 5, list(1).MessageIndex
AssertEqual "oldest last", "Morning, are we still on for lunch?", list(5).Body
Set m = inbox.GetMessage("20000000-0000-4000-8000-000000000001")
AssertEqual "GetMessage originator", "447700900201", m.Originator
AssertEqual "GetMessage recipient", OWN_NUMBER, m.Recipient
AssertEqual "GetMessage status", DELIVERED, m.Status
AssertEqual "GetMessage type", TEXT_TYPE, m.Type
AssertEqual "received at, as written", "2024-03-14 09:15:00", _
    Year(m.ReceivedAt) & "-" & Right("0" & Month(m.ReceivedAt), 2) & "-" & Day(m.ReceivedAt) & " " & _
    Right("0" & Hour(m.ReceivedAt), 2) & ":" & Right("0" & Minute(m.ReceivedAt), 2) & ":" & Right("0" & Second(m.ReceivedAt), 2)
AssertTrue "sent before it was received", m.SentAt < m.ReceivedAt
AssertEqual "Unicode message type", 4, inbox.GetMessage("20000000-0000-4000-8000-000000000004").Type
AssertEqual "GetMessagesForDay", 2, inbox.GetMessagesForDay(2024, 3, 14).Count
AssertEqual "GetMessagesForDateRange", 3, inbox.GetMessagesForDateRange(DateSerial(2024, 3, 15), DateSerial(2024, 3, 16)).Count
Set list = inbox.GetMessagesByID("20000000-0000-4000-8000-000000000005,20000000-0000-4000-8000-000000000002")
AssertEqual "GetMessagesByID keeps the order", "See you Saturday|Nearly midnight here", list(1).Body & "|" & list(2).Body
AssertEqual "GetLatestMessages after index 3", 2, inbox.GetLatestMessages(3).Count
AssertEqual "GetLatestMessages at most one", 1, inbox.GetLatestMessages(0, 1).Count

own = sender.SendMessage(OWN_NUMBER, "A note to myself", TEXT_TYPE)
Set latest = inbox.GetLatestMessages(5)
AssertEqual "a message to the own number arrives", 1, latest.Count
AssertEqual "its text", "A note to myself", latest(1).Body
AssertEqual "its index", 6, latest(1).MessageIndex
AssertEqual "its recipient", OWN_NUMBER, latest(1).Recipient

inbox.DeleteMessage "20000000-0000-4000-8000-000000000001"
AssertEqual "DeleteMessage", 5, inbox.GetMessages.Count
inbox.DeleteMessages "20000000-0000-4000-8000-000000000002,20000000-0000-4000-8000-000000000003"
AssertEqual "DeleteMessages", 3, inbox.GetMessages.Count

' 7. Contacts and groups kept on the service.
Set contacts = SignedIn("Tarvock.ContactService", "test", "test", "TEST01")
AssertEqual "GetContacts", "1001,1002,1003,1004", contacts.GetContacts.IDs
Set list = contacts.GetContacts
AssertEqual "a contact's fields", "Archer|United Kingdom|0|1", _
    list(1).LastName & "|" & list(1).Country & "|" & list(1).ContactType & "|" & list(3).ContactType
AssertEqual "GetGroups", "2001,2002,2003", contacts.GetGroups.IDs
AssertEqual "members of the AllSubscribed group", "1003,1004", contacts.GetGroupMembers("2002").IDs
Set c = CreateObject("Tarvock.Contact")
c.QuickName = "Myself"
c.MobileNumber = OWN_NUMBER
id = contacts.AddContact(c)
AssertEqual "AddContact then GetContactByQuickName", id, contacts.GetContactByQuickName("myself").ID
Set list = CreateObject("Tarvock.ObjectCollection")
list.Add CreateObject("Tarvock.Contact")
list(1).QuickName = "Gina"
Set ids = contacts.AddContacts(list)
AssertEqual "AddContacts", "Gina", contacts.GetContact(ids(1)).QuickName
Set g = CreateObject("Tarvock.ContactGroup")
g.Name = "Me and Alice"
groupId = contacts.AddGroup(g, id & ",1001")
AssertEqual "AddGroup with members", id & ",1001", contacts.GetGroupMembers(groupId).IDs
Set g = contacts.GetGroupByName("me and alice")
g.Description = "Two of us"
contacts.UpdateGroup g, id & "," & ids(1)
AssertEqual "UpdateGroup", "Two of us|" & id & "," & ids(1), _
    contacts.GetGroup(groupId).Description & "|" & contacts.GetGroupMembers(groupId).IDs
Set c = contacts.GetContact(id)
c.Town = "Leeds"
contacts.UpdateContact c
AssertEqual "UpdateContact", "Leeds", contacts.GetContact(id).Town
includeMembers = True
contacts.DeleteGroup groupId, includeMembers
AssertTrue "DeleteGroup with a variable holding True deletes the members", _
    contacts.GetContact(id) Is Nothing And contacts.GetContact(ids(1)) Is Nothing
contacts.DeleteContact "1004"
contacts.DeleteContacts "1001,1002"
contacts.DeleteGroups "2001,2003"
AssertEqual "DeleteContact(s) and DeleteGroups", "1003|2002", contacts.GetContacts.IDs & "|" & contacts.GetGroups.IDs
AssertTrue "an unknown contact is Nothing", contacts.GetContact("1001") Is Nothing
AssertTrue "an unknown group is Nothing", contacts.GetGroup("2001") Is Nothing
AssertTrue "an unknown quick name is Nothing", contacts.GetContactByQuickName("Nobody") Is Nothing
AssertTrue "another account's group name is Nothing", contacts.GetGroupByName("OtherFriends") Is Nothing

' 8. The current program version needs no sign-in.
version = CreateObject("Tarvock.MessengerService").GetCurrentVersion
AssertEqual "GetCurrentVersion", "2.7.1.8", version

' Sign-up needs no sign-in either.
Set signup = CreateObject("Tarvock.SignupService").DefaultEvaluationSignup("Ada", "Lovelace", "Engines Ltd", _
    "01632960123", "447700900777", "ada@example.com", True)
AssertEqual "signed-up user name", "ada@example.com", signup.Username
AssertTrue "signed-up account reference", Left(signup.AccountReference, 4) = "EVAL"
AssertTrue "welcome message", InStr(signup.WelcomeMessage, "Sign in as ada@example.com") > 0

' 9. Every failure is an automation error with a description.
setup.SetupSendTests
On Error Resume Next
Set state = SignedIn("Tarvock.AccountService", "test", "wrong", "TEST01").GetAccountState
AssertError "wrong password", &H80020002, "Authentication failed"
Set state = SignedIn("Tarvock.AccountService", "notlive", "notlive", "DEAD01").GetAccountState
AssertError "account not live", &H80020005, "not live"
id = sender.SendMessage("12345", "Hello", TEXT_TYPE)
AssertError "invalid recipient", &H80020009, "not a valid number"
id = sender.SendMessage("", "Hello", TEXT_TYPE)
AssertError "missing recipient", &H80070057, "Recipient"
' E_INVALIDARG without a description reaches a script as its own error 5.
id = sender.SendMessage("447700900301", "Hello", 5)
AssertEqual "a message type outside 1-4", 5, Err.Number
Err.Clear
Set ids = SignedIn("Tarvock.SendService2", "lowlimit", "lowlimit", "LOW01").SendMessageMultipleRecipients( _
    "447700900301,447700900302,447700900303", "Too many", TEXT_TYPE)
AssertError "message limit exceeded", &H8002000A, "message limit"
id = SignedIn("Tarvock.SendService2", "nosub", "nosub", "NOSUB01").SendMessage("447700900301", "Hi", TEXT_TYPE)
AssertError "no active subscription", &H80020012, "no active subscription"
status = sender.GetMessageStatus("10000000-0000-4000-8000-0000000000ff")
AssertError "message not found", &H80020008, "not found"
status = sender.GetMessageStatus("not-a-guid")
AssertError "message identifier format", &H8002000B, "not in a valid format"
status = sender.GetMessageStatus("10000000-0000-4000-8000-000000000099")
AssertError "another account's message", &H80020010, "not authorised"
Set list = SignedIn("Tarvock.InboxService2", "plain", "plain", "PLAIN01").GetMessages
AssertError "inbox without the feature", &H80020007, "feature"
id = SignedIn("Tarvock.SendService2", "fault17", "x", "X").SendMessage("447700900301", "Hi", TEXT_TYPE)
AssertError "validation fault with the service's text", &H80020011, "The message text holds characters that cannot be sent."
id = SignedIn("Tarvock.SendService2", "fault25", "x", "X").SendMessage("447700900301", "Hi", TEXT_TYPE)
AssertError "unknown error code", &H80020019, "Injected fault with an unknown code."
id = SignedIn("Tarvock.SendService2", "faultnodetail", "x", "X").SendMessage("447700900301", "Hi", TEXT_TYPE)
AssertError "fault without detail", &H80004005, "Injected fault without detail."
id = SignedIn("Tarvock.SendService2", "fault503", "x", "X").SendMessage("447700900301", "Hi", TEXT_TYPE)
AssertError "HTTP status 503", &H80004005, "503"
Set list = CreateObject("Tarvock.InboxService2").GetMessages
AssertError "not initialised", &H80004005, "initialised"
CreateObject("Tarvock.ContactService").Initialise "", "x", "X"
AssertError "Initialise without a user name", &H80070057, "Username"
c.QuickName = "alice"
id = contacts.AddContact(c)
AssertError "a quick name that is taken", &H8002000D, "A contact with that quick name already exists."
g.Name = "FRIENDS"
id = contacts.AddGroup(g, "")
AssertError "a group name that is taken", &H8002000E, "A contact group with that name already exists."
g.Name = "Bob"
id = contacts.AddGroup(g, "")
AssertError "a group named like a contact", &H8002000F, "A contact or contact group with that name already exists."
' The type library's dispatch asks an object argument for its interface: a group where a contact
' belongs is refused (script error 430) before the service sees it.
limit = StandinRequestCount(StandinRequests("AddContact"))
id = contacts.AddContact(g)
AssertEqual "a group passed as a contact is refused", 430, Err.Number
Err.Clear
AssertEqual "and nothing is sent", limit, StandinRequestCount(StandinRequests("AddContact"))
Set c = CreateObject("Tarvock.ObjectCollection")
c.Add CreateObject("Tarvock.Contact")
c.Add CreateObject("Tarvock.ContactGroup")
Set ids = contacts.AddContacts(c)
AssertError "a group among the contacts", &H80004005, "not a contact or group of this SDK"

' A service that cannot be reached.
setup.SetSoapEndPoints "http://127.0.0.1:1/secure/messenger/soap/", url
id = sender.SendMessage("447700900301", "Hi", TEXT_TYPE)
AssertError "connection failed", &H800203E8, "The connection to the web service failed in "
setup.SetSoapEndPoints url, url
AssertEqual "reachable again", 5, inbox.GetMessages.Count
AssertNoError "after the failures"
On Error GoTo 0
